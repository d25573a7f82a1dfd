#include "DrevkaCommon.h"

#include "base/Handles.h"
#include "base/Text.h"

#include <windows.h>

#include <vector>

namespace velmora::drevka {

bool FileExists(const std::wstring &path) {
  if (path.empty())
    return false;
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring ReadTextFile(const std::wstring &path) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file)
    throw EAppError(L"Cannot open file \"" + path + L"\"");
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7fffffff)
    throw EAppError(L"Cannot read file \"" + path + L"\"");
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!::ReadFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got,
                    nullptr))
      throw EAppError(L"Cannot read file \"" + path + L"\"");
    if (got == 0)
      break;
    done += got;
  }
  bytes.resize(done);

  const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  if (bytes.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF)
    return FromUtf8(bytes.substr(3));
  if (bytes.size() >= 2 && ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF))) {
    const bool bigEndian = byte(0) == 0xFE;
    std::wstring text;
    text.reserve((bytes.size() - 2) / 2);
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
      text.push_back(static_cast<wchar_t>(bigEndian ? (byte(i) << 8) | byte(i + 1)
                                                    : byte(i) | (byte(i + 1) << 8)));
    return text;
  }
  return FromAnsi(bytes);
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

void BeginRepair(TSQLiteDatabase &db) {
  db.SetSecureDelete(true);
  // A large history is deleted in one transaction: give it room so that
  // changed pages and the ephemeral tables of the IN lists stay in memory.
  db.QueryTable("PRAGMA cache_size = -131072;"); // 128 MiB
  db.QueryTable("PRAGMA temp_store = MEMORY;");
  db.QueryTable("PRAGMA mmap_size = 268435456;"); // reads through a mapping (falls back to reads)
  db.BeginTransaction();
}

void CommitRepair(TSQLiteDatabase &db) { db.CommitTransaction(); }

std::wstring ScanHosts(const std::wstring &path, const std::wstring &table, const std::string &query,
                       const std::wstring &column) {
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
  BeginRepair(db);
  for (const auto &[table, statement] : statements)
    if (db.HasTable(table))
      db.RunStatement(statement);
  CommitRepair(db);
}

} // namespace velmora::drevka
