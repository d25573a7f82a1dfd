#pragma once
// The unit SQLiteTable3: one open database, the complete result of
// one query, and the layer's exception type. Every failure of the layer is
// raised as ESQLiteException.
#include "base/Error.h"
#include "browserdb/BufferedVfs.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace velmora {

class ESQLiteException : public EAppError {
public:
  using EAppError::EAppError;
};

class TSQLiteTable;

class TSQLiteDatabase {
public:
  // Fired with the SQL text before each statement executes.
  using THookQuery = std::function<void(TSQLiteDatabase &Sender, const std::string &SQL)>;

  // Opens the database at FileName (SQLite's default open mode: a missing
  // file becomes a new, empty database). Raises on failure.
  explicit TSQLiteDatabase(const std::wstring &FileName);
  // Rolls an open transaction back, then closes the connection.
  ~TSQLiteDatabase();
  TSQLiteDatabase(const TSQLiteDatabase &) = delete;
  TSQLiteDatabase &operator=(const TSQLiteDatabase &) = delete;

  // Runs one statement that must finish without producing rows.
  void RunStatement(const std::string &SQL);
  // The whole result of one query, read into memory at once.
  std::unique_ptr<TSQLiteTable> QueryTable(const std::string &SQL);
  // Whether a table (never a view or index) of that name exists; the name
  // is matched without regard to ASCII case.
  bool HasTable(const std::wstring &TableName);

  // Transactions. The layer opens none by itself; each repair runs
  // on each database inside one, so a failure leaves the file as it was.
  void BeginTransaction();    // "BEGIN IMMEDIATE"
  void CommitTransaction();   // "COMMIT"
  void RollbackTransaction(); // "ROLLBACK"
  // PRAGMA secure_delete: deleted content is overwritten with zeros.
  void SetSecureDelete(bool On);

  [[noreturn]] void RaiseSQLiteError(const std::wstring &Message, const std::string &SQL);

  bool IsTransactionOpen() const { return FIsTransactionOpen; }
  int RowsChanged() const;
  bool Synchronised() const { return FSynchronised; }
  void SetSynchronised(bool Value);
  const THookQuery &OnQuery() const { return FOnQuery; }
  void SetOnQuery(THookQuery Value) { FOnQuery = std::move(Value); }

private:
  struct TStatementFinalizer {
    void operator()(sqlite3_stmt *stmt) const;
  };
  using TStatement = std::unique_ptr<sqlite3_stmt, TStatementFinalizer>;
  TStatement Prepare(const std::string &SQL);
  friend class TSQLiteTable;

  TBufferedVfsUse FVfs; // outlives the connection
  sqlite3 *FDB = nullptr;
  bool FIsTransactionOpen = false;
  bool FSynchronised = false;
  THookQuery FOnQuery;
};

class TSQLiteTable {
public:
  // A blob cell: the bytes of the value ("a memory stream").
  using TBlob = std::vector<unsigned char>;
  // An absent cell (SQL NULL, or a blob of zero bytes) is monostate.
  using TCell = std::variant<std::monostate, int64_t, double, std::wstring, TBlob>;

  // Column kinds: SQLite's type codes.
  enum : int { kInteger = 1, kFloat = 2, kText = 3, kBlob = 4, kNull = 5 };

  // Runs the query on the database and reads every row. Raises on failure.
  TSQLiteTable(TSQLiteDatabase &DB, const std::string &SQL);
  TSQLiteTable(const TSQLiteTable &) = delete;
  TSQLiteTable &operator=(const TSQLiteTable &) = delete;

  int RowCount() const { return FRowCount; }
  int ColumnCount() const { return FColumnCount; }
  bool AtEnd() const { return FRow >= FRowCount; }
  int Row() const { return FRow; }
  // 0-based index of a column; the name is matched after upper-casing.
  int ColumnIndex(const std::wstring &Name) const;
  // The current row's cell as text; empty for an absent cell.
  std::wstring ColumnText(int Index) const;
  // Advances when not at the end.
  bool MoveNext();

  const std::vector<std::wstring> &ColumnNames() const { return FColumnNames; }
  const std::vector<int> &ColumnKinds() const { return FColumnKinds; }
  const TCell &Cell(int Row, int Column) const;

private:
  std::vector<TCell> FValues; // row-major
  int FRowCount = 0;
  int FColumnCount = 0;
  std::vector<std::wstring> FColumnNames; // upper-cased; empty with no rows
  std::vector<int> FColumnKinds;
  int FRow = 0;
};

} // namespace velmora
