#include "browserdb/SQLiteTable3.h"

#include "base/Text.h"
#include "browserdb/SQLite3.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace velmora {

namespace {

// Text cells, column names and blobs-as-text are decoded with the system's
// ANSI code page, never as UTF-8.
std::wstring DecodeAnsi(const char *bytes, size_t length) {
  if (!bytes || length == 0)
    return {};
  return FromAnsi(std::string(bytes, length));
}

std::wstring DecodeAnsi(const char *zeroTerminated) {
  return zeroTerminated ? DecodeAnsi(zeroTerminated, std::strlen(zeroTerminated)) : std::wstring();
}

int KindOfDeclaredType(const char *declared) {
  if (!declared)
    return 0; // decided by the first row's value
  const std::string t = declared;
  if (t == "INTEGER" || t == "BOOLEAN")
    return TSQLiteTable::kInteger;
  if (t == "NUMERIC" || t == "FLOAT" || t == "DOUBLE" || t == "REAL")
    return TSQLiteTable::kFloat;
  if (t == "BLOB")
    return TSQLiteTable::kBlob;
  return TSQLiteTable::kText;
}

std::wstring FloatText(double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", value);
  std::wstring text = FromAnsi(buf);
  wchar_t separator[8] = {};
  if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) > 0) {
    const size_t dot = text.find(L'.');
    if (dot != std::wstring::npos)
      text.replace(dot, 1, separator);
  }
  return text;
}

} // namespace

// --- TSQLiteDatabase -------------------------------------------------------------

void TSQLiteDatabase::TStatementFinalizer::operator()(sqlite3_stmt *stmt) const {
  sqlite3_finalize(stmt);
}

void TSQLiteDatabase::TConnectionCloser::operator()(sqlite3 *connection) const {
  sqlite3_close_v2(connection);
}

TSQLiteDatabase::TSQLiteDatabase(const std::wstring &fileName, TOpenMode mode) {
  isTransactionOpen_ = false;
  // Through the write-gathering VFS when it is available.
  int flags = SQLITE_OPEN_READWRITE;
  if (mode == TOpenMode::CreateIfMissing)
    flags |= SQLITE_OPEN_CREATE;
  sqlite3 *opened = nullptr;
  const int rc = sqlite3_open_v2(ToUtf8(fileName).c_str(), &opened, flags, vfs_.Name());
  // Owned at once: a failed open still returns a handle to close.
  db_.reset(opened);
  if (rc != SQLITE_OK) {
    std::wstring message;
    if (!db_)
      message = Format(L"Failed to open database \"%s\" : unknown error", fileName.c_str());
    else
      message = Format(L"Failed to open database \"%s\" : %s", fileName.c_str(),
                       DecodeAnsi(sqlite3_errmsg(db_.get())).c_str());
    throw ESQLiteException(message);
  }
}

TSQLiteDatabase::~TSQLiteDatabase() {
  if (isTransactionOpen_) {
    try {
      RollbackTransaction();
    } catch (...) {
      // A destructor raises nothing; closing discards the transaction anyway.
    }
  }
}

void TSQLiteDatabase::RaiseSQLiteError(const std::wstring &message, const std::string &sql) {
  const int code = sqlite3_errcode(db_.get());
  if (code == SQLITE_OK)
    throw ESQLiteException(message);
  const std::wstring sqliteMessage = DecodeAnsi(sqlite3_errmsg(db_.get()));
  throw ESQLiteException(message + L".\rError [" + std::to_wstring(code) + L"]: " +
                         ResultCodeText(code) + L".\r\"" + FromAnsi(sql) + L"\": " + sqliteMessage);
}

TSQLiteDatabase::TStatement TSQLiteDatabase::Prepare(const std::string &sql) {
  sqlite3_stmt *raw = nullptr;
  const char *tail = nullptr;
  const int rc = sqlite3_prepare_v2(db_.get(), sql.c_str(), -1, &raw, &tail);
  TStatement stmt(raw);
  if (rc != SQLITE_OK)
    RaiseSQLiteError(L"Error executing SQL", sql);
  if (!stmt)
    RaiseSQLiteError(L"Could not prepare SQL statement", sql);
  if (onQuery_)
    onQuery_(*this, sql);
  return stmt;
}

void TSQLiteDatabase::RunStatement(const std::string &sql) {
  TStatement stmt = Prepare(sql);
  if (sqlite3_step(stmt.get()) != SQLITE_DONE) {
    sqlite3_reset(stmt.get());
    RaiseSQLiteError(L"Error executing SQL statement", sql);
  }
}

void TSQLiteDatabase::RunForEachValue(const std::string &sql, const std::vector<int64_t> &values) {
  TStatement stmt = Prepare(sql);
  for (const int64_t value : values) {
    if (sqlite3_bind_int64(stmt.get(), 1, value) != SQLITE_OK)
      RaiseSQLiteError(L"Error binding a value", sql);
    if (sqlite3_step(stmt.get()) != SQLITE_DONE) {
      sqlite3_reset(stmt.get());
      RaiseSQLiteError(L"Error executing SQL statement", sql);
    }
    sqlite3_reset(stmt.get());
  }
}

std::unique_ptr<TSQLiteTable> TSQLiteDatabase::QueryTable(const std::string &sql) {
  return std::make_unique<TSQLiteTable>(*this, sql);
}

bool TSQLiteDatabase::HasTable(const std::wstring &tableName) {
  std::wstring lowered = tableName;
  for (wchar_t &c : lowered)
    if (c >= L'A' && c <= L'Z')
      c = static_cast<wchar_t>(c - L'A' + L'a');
  const std::string sql =
      "select [sql] from sqlite_master where [type] = 'table' and lower(name) = '" +
      ToAnsi(lowered) + "' ";
  return QueryTable(sql)->RowCount() > 0;
}

void TSQLiteDatabase::BeginTransaction() {
  RunStatement("BEGIN IMMEDIATE");
  isTransactionOpen_ = true;
}

void TSQLiteDatabase::CommitTransaction() {
  RunStatement("COMMIT");
  isTransactionOpen_ = false;
}

void TSQLiteDatabase::RollbackTransaction() {
  RunStatement("ROLLBACK");
  isTransactionOpen_ = false;
}

void TSQLiteDatabase::SetSecureDelete(bool on) {
  // The pragma answers with its new value, so it is read as a query.
  QueryTable(on ? "PRAGMA secure_delete = ON;" : "PRAGMA secure_delete = OFF;");
}

int TSQLiteDatabase::RowsChanged() const { return sqlite3_changes(db_.get()); }

void TSQLiteDatabase::SetSynchronised(bool value) {
  if (value == synchronised_)
    return;
  RunStatement(value ? "PRAGMA synchronous = ON;" : "PRAGMA synchronous = OFF;");
  synchronised_ = value;
}

// --- TSQLiteTable ------------------------------------------------------------------

TSQLiteTable::TSQLiteTable(TSQLiteDatabase &db, const std::string &sql) {
  rowCount_ = 0;
  columnCount_ = 0;
  TSQLiteDatabase::TStatement owner = db.Prepare(sql);
  sqlite3_stmt *stmt = owner.get();
  int rc = sqlite3_step(stmt);
  while (rc != SQLITE_DONE) {
    if (rc == SQLITE_BUSY)
      throw ESQLiteException(L"Could not prepare SQL statement");
    if (rc != SQLITE_ROW) {
      sqlite3_reset(stmt);
      db.RaiseSQLiteError(L"Could not retrieve data", sql);
    }
    ++rowCount_;
    if (rowCount_ == 1) {
      columnCount_ = sqlite3_column_count(stmt);
      columnNames_.reserve(static_cast<size_t>(columnCount_));
      columnKinds_.reserve(static_cast<size_t>(columnCount_));
      for (int c = 0; c < columnCount_; ++c) {
        columnNames_.push_back(UpperCase(DecodeAnsi(sqlite3_column_name(stmt, c))));
        int kind = KindOfDeclaredType(sqlite3_column_decltype(stmt, c));
        if (kind == 0)
          kind = sqlite3_column_type(stmt, c);
        columnKinds_.push_back(kind);
      }
    }
    for (int c = 0; c < columnCount_; ++c) {
      if (sqlite3_column_type(stmt, c) == SQLITE_NULL) {
        values_.emplace_back();
        continue;
      }
      switch (columnKinds_[static_cast<size_t>(c)]) {
      case kInteger:
        values_.emplace_back(static_cast<int64_t>(sqlite3_column_int64(stmt, c)));
        break;
      case kFloat:
        values_.emplace_back(sqlite3_column_double(stmt, c));
        break;
      case kBlob: {
        const int size = sqlite3_column_bytes(stmt, c);
        const auto *bytes = static_cast<const unsigned char *>(sqlite3_column_blob(stmt, c));
        if (size <= 0 || !bytes)
          values_.emplace_back();
        else
          values_.emplace_back(TBlob(bytes, bytes + size));
        break;
      }
      default:
        values_.emplace_back(
            DecodeAnsi(reinterpret_cast<const char *>(sqlite3_column_text(stmt, c))));
        break;
      }
    }
    rc = sqlite3_step(stmt);
  }
  row_ = 0;
}

const TSQLiteTable::TCell &TSQLiteTable::Cell(int row, int column) const {
  return values_.at(static_cast<size_t>(row) * static_cast<size_t>(columnCount_) +
                    static_cast<size_t>(column));
}

int TSQLiteTable::ColumnIndex(const std::wstring &name) const {
  if (columnNames_.empty())
    throw ESQLiteException(L"Field " + name + L" Not found. Empty dataset");
  const std::wstring upper = UpperCase(name);
  const auto it = std::find(columnNames_.begin(), columnNames_.end(), upper);
  if (it == columnNames_.end())
    throw ESQLiteException(L"Field not found in dataset: " + name);
  return static_cast<int>(it - columnNames_.begin());
}

std::wstring TSQLiteTable::ColumnText(int index) const {
  if (AtEnd())
    throw ESQLiteException(L"Table is at End of File");
  if (index < 0 || index >= columnCount_)
    throw ESQLiteException(L"Field not found in dataset: " + std::to_wstring(index));
  const TCell &cell = Cell(row_, index);
  if (std::holds_alternative<std::monostate>(cell))
    return {};
  switch (columnKinds_[static_cast<size_t>(index)]) {
  case kInteger:
    return std::to_wstring(std::get<int64_t>(cell));
  case kFloat:
    return FloatText(std::get<double>(cell));
  case kText:
    return std::get<std::wstring>(cell);
  case kBlob: {
    const TBlob &blob = std::get<TBlob>(cell);
    return DecodeAnsi(reinterpret_cast<const char *>(blob.data()), blob.size());
  }
  default:
    return {};
  }
}

bool TSQLiteTable::MoveNext() {
  if (AtEnd())
    return false;
  ++row_;
  return true;
}

} // namespace velmora
