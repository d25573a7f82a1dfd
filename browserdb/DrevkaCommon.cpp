#include "browserdb/DrevkaCommon.h"

#include "base/FolderEntries.h"
#include "base/Handles.h"
#include "base/Text.h"
#include "settings/ConfigFile.h"
#include "system/AppFrame_New.h"

#include <windows.h>

#include <vector>

namespace velmora::drevka {

std::wstring ReadTextFile(const std::wstring &path) {
  std::string bytes;
  if (!ReadWholeFile(path, 0x7fffffff, bytes))
    throw EAppError(L"Cannot read file \"" + path + L"\"");
  return DecodeText(bytes);
}

namespace {

bool AppendLine(const std::wstring &logPath, const std::string &bytes) {
  UniqueFile log(::CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!log)
    return false;
  DWORD written = 0;
  return ::WriteFile(log.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
         written == bytes.size();
}

} // namespace

bool WriteRepairLog(const std::wstring &line) {
  const std::string bytes = ToAnsi(line) + "\r\n";
  const TAppFrame frame;
  if (!frame.ExePath.empty() && AppendLine(frame.ExePath + L"aa.log", bytes))
    return true;
  const std::wstring dataFolder = ConfigFolder(frame);
  if (frame.CommonAppDataPath.empty())
    return false;
  ::CreateDirectoryW(dataFolder.c_str(), nullptr); // made by the program's set-up as a rule
  return AppendLine(dataFolder + L"aa.log", bytes);
}

TRepairTransaction::TRepairTransaction(TSQLiteDatabase &db) : db_(db) {
  db.SetSecureDelete(true);
  // The journal is synced before the database is written, whatever the
  // connection's default: the gathered journal writes rely on it.
  db.RunStatement("PRAGMA synchronous = FULL;");
  // A large history is deleted in one transaction: give it room so that
  // changed pages and the temporary tables stay in memory.
  db.QueryTable("PRAGMA cache_size = -131072;"); // 128 MiB
  db.QueryTable("PRAGMA temp_store = MEMORY;");
  // Pages are read, never mapped: a mapped view of a file that a running
  // browser changes is not worth its speed here.
  db.QueryTable("PRAGMA mmap_size = 0;");
  db.BeginTransaction();
}

TRepairTransaction::~TRepairTransaction() {
  if (!db_.IsTransactionOpen())
    return;
  try {
    db_.RollbackTransaction();
  } catch (...) {
    // Closing the connection discards the transaction all the same.
  }
}

void TRepairTransaction::Commit() { db_.CommitTransaction(); }

bool HasColumn(TSQLiteDatabase &db, const std::wstring &table, const std::wstring &column) {
  // The table names come from the code, never from a file.
  const auto rows = db.QueryTable("PRAGMA table_info(\"" + ToAnsi(table) + "\")");
  if (rows->RowCount() == 0)
    return false;
  const int name = rows->ColumnIndex(L"name");
  for (int i = 0; i < rows->RowCount(); ++i) {
    if (SameText(rows->ColumnText(name), column))
      return true;
    rows->MoveNext();
  }
  return false;
}

std::wstring ScanHosts(const std::wstring &path, const std::wstring &table,
                       const std::string &query, const std::wstring &column) {
  std::wstring hosts;
  if (!FileExists(path))
    return hosts;
  TSQLiteDatabase db(path, TSQLiteDatabase::TOpenMode::ExistingOnly);
  if (db.HasTable(table)) {
    const auto rows = db.QueryTable(query);
    for (int i = 0; i < rows->RowCount(); ++i) {
      hosts += rows->ColumnText(rows->ColumnIndex(column));
      hosts += L';';
      rows->MoveNext();
    }
  }
  return hosts;
}

std::wstring ScanLines(TSQLiteDatabase &db, const std::string &query) {
  std::wstring lines;
  const auto rows = db.QueryTable(query);
  for (; !rows->AtEnd(); rows->MoveNext()) {
    std::wstring value = rows->ColumnText(0);
    for (wchar_t &c : value)
      if (c == L'\r' || c == L'\n')
        c = L' ';
    lines += value;
    lines += L'\n';
  }
  return lines;
}

void RepairTables(const std::wstring &path,
                  std::initializer_list<std::pair<const wchar_t *, const char *>> statements) {
  if (!FileExists(path))
    return;
  TSQLiteDatabase db(path, TSQLiteDatabase::TOpenMode::ExistingOnly);
  TRepairTransaction transaction(db);
  for (const auto &[table, statement] : statements)
    if (db.HasTable(table))
      db.RunStatement(statement);
  transaction.Commit();
}

} // namespace velmora::drevka
