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

TSQLiteDatabase::TSQLiteDatabase(const std::wstring &FileName) {
  FIsTransactionOpen = false;
  // sqlite3_open's mode (read and write, create when missing), through the
  // write-gathering VFS when it is available.
  const int rc = sqlite3_open_v2(ToUtf8(FileName).c_str(), &FDB,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, FVfs.Name());
  if (rc != SQLITE_OK) {
    std::wstring message;
    if (!FDB)
      message = Format(L"Failed to open database \"%s\" : unknown error", FileName.c_str());
    else
      message = Format(L"Failed to open database \"%s\" : %s", FileName.c_str(),
                       DecodeAnsi(sqlite3_errmsg(FDB)).c_str());
    // The half-built object is destroyed: close what came back.
    if (FDB)
      sqlite3_close(FDB);
    FDB = nullptr;
    throw ESQLiteException(message);
  }
}

TSQLiteDatabase::~TSQLiteDatabase() {
  if (FIsTransactionOpen) {
    try {
      RollbackTransaction();
    } catch (...) {
      // A destructor raises nothing; closing below discards the transaction.
    }
  }
  if (FDB)
    sqlite3_close(FDB);
}

void TSQLiteDatabase::RaiseSQLiteError(const std::wstring &Message, const std::string &SQL) {
  const int code = sqlite3_errcode(FDB);
  if (code == SQLITE_OK)
    throw ESQLiteException(Message);
  const std::wstring sqliteMessage = DecodeAnsi(sqlite3_errmsg(FDB));
  throw ESQLiteException(Message + L".\rError [" + std::to_wstring(code) + L"]: " +
                         ResultCodeText(code) + L".\r\"" + FromAnsi(SQL) + L"\": " + sqliteMessage);
}

TSQLiteDatabase::TStatement TSQLiteDatabase::Prepare(const std::string &SQL) {
  sqlite3_stmt *raw = nullptr;
  const char *tail = nullptr;
  const int rc = sqlite3_prepare_v2(FDB, SQL.c_str(), -1, &raw, &tail);
  TStatement stmt(raw);
  if (rc != SQLITE_OK)
    RaiseSQLiteError(L"Error executing SQL", SQL);
  if (!stmt)
    RaiseSQLiteError(L"Could not prepare SQL statement", SQL);
  if (FOnQuery)
    FOnQuery(*this, SQL);
  return stmt;
}

void TSQLiteDatabase::RunStatement(const std::string &SQL) {
  TStatement stmt = Prepare(SQL);
  if (sqlite3_step(stmt.get()) != SQLITE_DONE) {
    sqlite3_reset(stmt.get());
    RaiseSQLiteError(L"Error executing SQL statement", SQL);
  }
}

std::unique_ptr<TSQLiteTable> TSQLiteDatabase::QueryTable(const std::string &SQL) {
  return std::make_unique<TSQLiteTable>(*this, SQL);
}

bool TSQLiteDatabase::HasTable(const std::wstring &TableName) {
  std::wstring lowered = TableName;
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
  FIsTransactionOpen = true;
}

void TSQLiteDatabase::CommitTransaction() {
  RunStatement("COMMIT");
  FIsTransactionOpen = false;
}

void TSQLiteDatabase::RollbackTransaction() {
  RunStatement("ROLLBACK");
  FIsTransactionOpen = false;
}

void TSQLiteDatabase::SetSecureDelete(bool On) {
  // The pragma answers with its new value, so it is read as a query.
  QueryTable(On ? "PRAGMA secure_delete = ON;" : "PRAGMA secure_delete = OFF;");
}

int TSQLiteDatabase::RowsChanged() const { return sqlite3_changes(FDB); }

void TSQLiteDatabase::SetSynchronised(bool Value) {
  if (Value == FSynchronised)
    return;
  RunStatement(Value ? "PRAGMA synchronous = ON;" : "PRAGMA synchronous = OFF;");
  FSynchronised = Value;
}

// --- TSQLiteTable ------------------------------------------------------------------

TSQLiteTable::TSQLiteTable(TSQLiteDatabase &DB, const std::string &SQL) {
  FRowCount = 0;
  FColumnCount = 0;
  TSQLiteDatabase::TStatement owner = DB.Prepare(SQL);
  sqlite3_stmt *stmt = owner.get();
  int rc = sqlite3_step(stmt);
  while (rc != SQLITE_DONE) {
    if (rc == SQLITE_BUSY)
      throw ESQLiteException(L"Could not prepare SQL statement");
    if (rc != SQLITE_ROW) {
      sqlite3_reset(stmt);
      DB.RaiseSQLiteError(L"Could not retrieve data", SQL);
    }
    ++FRowCount;
    if (FRowCount == 1) {
      FColumnCount = sqlite3_column_count(stmt);
      FColumnNames.reserve(static_cast<size_t>(FColumnCount));
      FColumnKinds.reserve(static_cast<size_t>(FColumnCount));
      for (int c = 0; c < FColumnCount; ++c) {
        FColumnNames.push_back(UpperCase(DecodeAnsi(sqlite3_column_name(stmt, c))));
        int kind = KindOfDeclaredType(sqlite3_column_decltype(stmt, c));
        if (kind == 0)
          kind = sqlite3_column_type(stmt, c);
        FColumnKinds.push_back(kind);
      }
    }
    for (int c = 0; c < FColumnCount; ++c) {
      if (sqlite3_column_type(stmt, c) == SQLITE_NULL) {
        FValues.emplace_back();
        continue;
      }
      switch (FColumnKinds[static_cast<size_t>(c)]) {
      case kInteger:
        FValues.emplace_back(static_cast<int64_t>(sqlite3_column_int64(stmt, c)));
        break;
      case kFloat:
        FValues.emplace_back(sqlite3_column_double(stmt, c));
        break;
      case kBlob: {
        const int size = sqlite3_column_bytes(stmt, c);
        const auto *bytes = static_cast<const unsigned char *>(sqlite3_column_blob(stmt, c));
        if (size <= 0 || !bytes)
          FValues.emplace_back();
        else
          FValues.emplace_back(TBlob(bytes, bytes + size));
        break;
      }
      default:
        FValues.emplace_back(
            DecodeAnsi(reinterpret_cast<const char *>(sqlite3_column_text(stmt, c))));
        break;
      }
    }
    rc = sqlite3_step(stmt);
  }
  FRow = 0;
}

const TSQLiteTable::TCell &TSQLiteTable::Cell(int Row, int Column) const {
  return FValues.at(static_cast<size_t>(Row) * static_cast<size_t>(FColumnCount) +
                    static_cast<size_t>(Column));
}

int TSQLiteTable::ColumnIndex(const std::wstring &Name) const {
  if (FColumnNames.empty())
    throw ESQLiteException(L"Field " + Name + L" Not found. Empty dataset");
  const std::wstring upper = UpperCase(Name);
  const auto it = std::find(FColumnNames.begin(), FColumnNames.end(), upper);
  if (it == FColumnNames.end())
    throw ESQLiteException(L"Field not found in dataset: " + Name);
  return static_cast<int>(it - FColumnNames.begin());
}

std::wstring TSQLiteTable::ColumnText(int Index) const {
  if (AtEnd())
    throw ESQLiteException(L"Table is at End of File");
  if (Index < 0 || Index >= FColumnCount)
    throw ESQLiteException(L"Field not found in dataset: " + std::to_wstring(Index));
  const TCell &cell = Cell(FRow, Index);
  if (std::holds_alternative<std::monostate>(cell))
    return {};
  switch (FColumnKinds[static_cast<size_t>(Index)]) {
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
  ++FRow;
  return true;
}

} // namespace velmora
