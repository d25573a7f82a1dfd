#include "browserdb/DrevkaCommon.h"

#include "base/FolderEntries.h"
#include "base/Handles.h"
#include "base/Text.h"

#include <windows.h>

#include <vector>

namespace velmora::drevka {

std::wstring ReadTextFile(const std::wstring &path) {
  std::string bytes;
  if (!ReadWholeFile(path, 0x7fffffff, bytes))
    throw EAppError(L"Cannot read file \"" + path + L"\"");
  return DecodeText(bytes);
}

void WriteRepairLog(const std::wstring &line) {
  std::vector<wchar_t> module(MAX_PATH);
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
    if (n == 0)
      throw EAppError(L"Cannot find the program file");
    if (n < module.size())
      break;
    module.resize(module.size() * 2);
  }
  const std::wstring logPath = ExtractFilePath(module.data()) + L"aa.log";
  UniqueFile log(::CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!log)
    throw EAppError(L"Cannot open the repair log \"" + logPath + L"\"");
  const std::string bytes = ToAnsi(line) + "\r\n";
  DWORD written = 0;
  if (!::WriteFile(log.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size())
    throw EAppError(L"Cannot write the repair log \"" + logPath + L"\"");
}

TRepairTransaction::TRepairTransaction(TSQLiteDatabase &db) : db_(db) {
  db.SetSecureDelete(true);
  // A large history is deleted in one transaction: give it room so that
  // changed pages and the ephemeral tables of the IN lists stay in memory.
  db.QueryTable("PRAGMA cache_size = -131072;"); // 128 MiB
  db.QueryTable("PRAGMA temp_store = MEMORY;");
  db.QueryTable("PRAGMA mmap_size = 268435456;"); // reads through a mapping (falls back to reads)
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

std::wstring ScanHosts(const std::wstring &path, const std::wstring &table,
                       const std::string &query, const std::wstring &column) {
  std::wstring hosts;
  if (!FileExists(path))
    return hosts;
  TSQLiteDatabase db(path);
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

void RepairTables(const std::wstring &path,
                  std::initializer_list<std::pair<const wchar_t *, const char *>> statements) {
  if (!FileExists(path))
    return;
  TSQLiteDatabase db(path);
  TRepairTransaction transaction(db);
  for (const auto &[table, statement] : statements)
    if (db.HasTable(table))
      db.RunStatement(statement);
  transaction.Commit();
}

} // namespace velmora::drevka
