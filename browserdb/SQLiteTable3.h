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
  using THookQuery = std::function<void(TSQLiteDatabase &sender, const std::string &sql)>;

  // How a path is opened: SQLite's default mode (read and write; a missing
  // file becomes a new, empty database), or read and write of an existing
  // database only (a missing file is an error, nothing is created).
  enum class TOpenMode { CreateIfMissing, ExistingOnly };

  // Opens the database at fileName. Raises on failure.
  explicit TSQLiteDatabase(const std::wstring &fileName,
                           TOpenMode mode = TOpenMode::CreateIfMissing);
  // Rolls an open transaction back, then closes the connection.
  ~TSQLiteDatabase();
  TSQLiteDatabase(const TSQLiteDatabase &) = delete;
  TSQLiteDatabase &operator=(const TSQLiteDatabase &) = delete;

  // Runs one statement that must finish without producing rows.
  void RunStatement(const std::string &sql);
  // Runs a statement with one parameter (?1) once for every value, e.g. to
  // fill a temporary table, so that values never become SQL text.
  void RunForEachValue(const std::string &sql, const std::vector<int64_t> &values);
  // The whole result of one query, read into memory at once.
  std::unique_ptr<TSQLiteTable> QueryTable(const std::string &sql);
  // Whether a table (never a view or index) of that name exists; the name
  // is matched without regard to ASCII case.
  bool HasTable(const std::wstring &tableName);

  // Transactions. The layer opens none by itself; each repair runs
  // on each database inside one, so a failure leaves the file as it was.
  void BeginTransaction();    // "BEGIN IMMEDIATE"
  void CommitTransaction();   // "COMMIT"
  void RollbackTransaction(); // "ROLLBACK"
  // PRAGMA secure_delete: deleted content is overwritten with zeros.
  void SetSecureDelete(bool on);

  [[noreturn]] void RaiseSQLiteError(const std::wstring &message, const std::string &sql);

  bool IsTransactionOpen() const { return isTransactionOpen_; }
  int RowsChanged() const;
  bool Synchronised() const { return synchronised_; }
  void SetSynchronised(bool value);
  const THookQuery &OnQuery() const { return onQuery_; }
  void SetOnQuery(THookQuery value) { onQuery_ = std::move(value); }

private:
  struct TStatementFinalizer {
    void operator()(sqlite3_stmt *stmt) const;
  };
  using TStatement = std::unique_ptr<sqlite3_stmt, TStatementFinalizer>;
  struct TConnectionCloser {
    void operator()(sqlite3 *connection) const; // sqlite3_close_v2
  };
  using TConnection = std::unique_ptr<sqlite3, TConnectionCloser>;
  TStatement Prepare(const std::string &sql);
  friend class TSQLiteTable;

  // Members go in reverse order: the connection closes (flushing through
  // the file layer) before the file layer it opened its files with.
  TBufferedVfsUse vfs_;
  TConnection db_;
  bool isTransactionOpen_ = false;
  bool synchronised_ = false;
  THookQuery onQuery_;
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
  TSQLiteTable(TSQLiteDatabase &db, const std::string &sql);
  TSQLiteTable(const TSQLiteTable &) = delete;
  TSQLiteTable &operator=(const TSQLiteTable &) = delete;

  int RowCount() const { return rowCount_; }
  int ColumnCount() const { return columnCount_; }
  bool AtEnd() const { return row_ >= rowCount_; }
  int Row() const { return row_; }
  // 0-based index of a column; the name is matched after upper-casing.
  int ColumnIndex(const std::wstring &name) const;
  // The current row's cell as text; empty for an absent cell.
  std::wstring ColumnText(int index) const;
  // Advances when not at the end.
  bool MoveNext();

  const std::vector<std::wstring> &ColumnNames() const { return columnNames_; }
  const std::vector<int> &ColumnKinds() const { return columnKinds_; }
  const TCell &Cell(int row, int column) const;

private:
  std::vector<TCell> values_; // row-major
  int rowCount_ = 0;
  int columnCount_ = 0;
  std::vector<std::wstring> columnNames_; // upper-cased; empty with no rows
  std::vector<int> columnKinds_;
  int row_ = 0;
};

} // namespace velmora
