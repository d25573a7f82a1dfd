#pragma once
// Internals shared by the Drevka operations.
#include "base/FolderEntries.h"
#include "browserdb/SQLiteTable3.h"

#include <string>

namespace velmora::drevka {

// Reads a whole text file: a byte-order mark selects UTF-16 (either byte
// order) or UTF-8, otherwise the ANSI code page. Opened for reading while
// others may read but not write. Raises EAppError when it cannot be read.
std::wstring ReadTextFile(const std::wstring &path);

// Appends one line (ANSI code page, CR LF) to "aa.log" in the folder of the
// running program file, opening and closing it around the line. When that
// folder cannot be written (a program installed under Program Files), the
// log goes to the program's data folder under the all-users application
// data. False when neither can be written: the log is a diary of the
// repair, never a reason to stop it.
bool WriteRepairLog(const std::wstring &line);

// What every repair does to each database it changes: secure deletion on
// the connection, full syncs, no memory-mapped reads, and one transaction
// around all of the repair's work there.
// The transaction begins with the guard; unless Commit ran, the guard rolls
// it back when it goes, so a failure leaves the database as it was.
class TRepairTransaction {
public:
  explicit TRepairTransaction(TSQLiteDatabase &db);
  ~TRepairTransaction();
  TRepairTransaction(const TRepairTransaction &) = delete;
  TRepairTransaction &operator=(const TRepairTransaction &) = delete;

  void Commit();

private:
  TSQLiteDatabase &db_;
};

// Whether the table has a column of that name (ASCII case ignored).
bool HasColumn(TSQLiteDatabase &db, const std::wstring &table, const std::wstring &column);

// The operations; each raises on failure (the exports catch everything).
std::wstring ScanHosts(const std::wstring &path, const std::wstring &table,
                       const std::string &query, const std::wstring &column);
void RepairTables(const std::wstring &path,
                  std::initializer_list<std::pair<const wchar_t *, const char *>> statements);
void RepairMozHistory(const std::wstring &path);
// Today's Firefox: the download history of places.sqlite, form history of
// formhistory.sqlite. The scans give one line per entry, each ending with
// a line feed.
std::wstring ScanMozDownloads(const std::wstring &placesPath);
void RepairMozDownloads(const std::wstring &placesPath);
std::wstring ScanMozForms(const std::wstring &formHistoryPath);
void RepairMozForms(const std::wstring &formHistoryPath);
// The first column of every row of query, one line each (line breaks inside
// a value become spaces).
std::wstring ScanLines(TSQLiteDatabase &db, const std::string &query);
void RepairChromeHistory(const std::wstring &bookmarksPath, const std::wstring &historyPath,
                         const std::wstring &thumbnailsPath);
void RepairChromePages(const std::wstring &bookmarksPath, const std::wstring &path);

} // namespace velmora::drevka
