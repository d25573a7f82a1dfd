#include "TestSupport.h"

#include "base/FolderEntries.h"
#include "base/Handles.h"
#include "base/RegistryKey.h"
#include "base/Text.h"

#include <shlwapi.h>

#include <stdexcept>

namespace velmora::test {

namespace {
void Check(bool ok, const char *what) {
  if (!ok)
    throw std::runtime_error(std::string(what) + " failed, error " +
                             std::to_string(::GetLastError()));
}
} // namespace

TScratchFolder::TScratchFolder(const std::wstring &name) {
  wchar_t temp[MAX_PATH + 1];
  ::GetTempPathW(MAX_PATH + 1, temp);
  path_ = std::wstring(temp) + L"velmora-tests\\" + name + L"\\";
  RemoveTree(path_);
  MakeFolders(path_);
}

TScratchFolder::~TScratchFolder() { RemoveTree(path_); }

void MakeFolders(const std::wstring &path) {
  std::wstring p = ExcludeTrailingBackslash(path);
  if (p.empty() || FolderExists(p))
    return;
  MakeFolders(ExtractFilePath(p));
  ::CreateDirectoryW(p.c_str(), nullptr);
}

void RemoveTree(const std::wstring &path) {
  const std::wstring folder = ExcludeTrailingBackslash(path);
  DWORD a = ::GetFileAttributesW(folder.c_str());
  if (a == INVALID_FILE_ATTRIBUTES)
    return;
  if ((a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_REPARSE_POINT)) {
    TFolderEntries entries(folder + L"\\*");
    TFolderEntry e;
    while (entries.Next(e))
      RemoveTree(folder + L"\\" + e.Name);
  }
  ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (a & FILE_ATTRIBUTE_DIRECTORY)
    ::RemoveDirectoryW(folder.c_str());
  else
    ::DeleteFileW(folder.c_str());
}

void WriteFileBytes(const std::wstring &path, const std::string &bytes) {
  MakeFolders(ExtractFilePath(path));
  ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  UniqueFile f(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  Check(f.Valid(), "CreateFileW");
  DWORD written = 0;
  Check(bytes.empty() ||
            ::WriteFile(f.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr),
        "WriteFile");
}

std::string ReadFileBytes(const std::wstring &path) {
  UniqueFile f(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr));
  Check(f.Valid(), "CreateFileW");
  LARGE_INTEGER size{};
  ::GetFileSizeEx(f.Get(), &size);
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (!bytes.empty())
    ::ReadFile(f.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  bytes.resize(got);
  return bytes;
}

bool PathExists(const std::wstring &path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void SetFileAgeDays(const std::wstring &path, double days) {
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER t{};
  t.LowPart = now.dwLowDateTime;
  t.HighPart = now.dwHighDateTime;
  t.QuadPart = static_cast<ULONGLONG>(static_cast<LONGLONG>(t.QuadPart) -
                                      static_cast<LONGLONG>(days * 86400.0 * 1e7));
  FILETIME ft{t.LowPart, t.HighPart};
  DWORD a = ::GetFileAttributesW(path.c_str());
  UniqueFile f(::CreateFileW(
      path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
      OPEN_EXISTING, (a & FILE_ATTRIBUTE_DIRECTORY) ? FILE_FLAG_BACKUP_SEMANTICS : 0, nullptr));
  Check(f.Valid(), "CreateFileW");
  Check(::SetFileTime(f.Get(), &ft, &ft, &ft) != FALSE, "SetFileTime");
}

namespace {
void RegWrite(const std::wstring &key, const std::wstring &name, DWORD type, const void *data,
              DWORD size) {
  UniqueRegKey k;
  Check(::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          k.Receive(), nullptr) == ERROR_SUCCESS,
        "RegCreateKeyExW");
  Check(::RegSetValueExW(k.Get(), name.c_str(), 0, type, static_cast<const BYTE *>(data), size) ==
            ERROR_SUCCESS,
        "RegSetValueExW");
}
} // namespace

void RegWriteString(const std::wstring &key, const std::wstring &name, const std::wstring &value) {
  RegWrite(key, name, REG_SZ, value.c_str(),
           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void RegWriteDword(const std::wstring &key, const std::wstring &name, DWORD value) {
  RegWrite(key, name, REG_DWORD, &value, sizeof(value));
}

void RegWriteBinary(const std::wstring &key, const std::wstring &name, const std::string &bytes) {
  RegWrite(key, name, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
}

void RegCreateKey(const std::wstring &key) {
  UniqueRegKey k;
  Check(::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          k.Receive(), nullptr) == ERROR_SUCCESS,
        "RegCreateKeyExW");
}

bool RegKeyExists(const std::wstring &key) {
  UniqueRegKey k;
  return ::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, k.Receive()) == ERROR_SUCCESS;
}

bool RegValueExists(const std::wstring &key, const std::wstring &name) {
  UniqueRegKey k;
  return ::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, k.Receive()) ==
             ERROR_SUCCESS &&
         ::RegQueryValueExW(k.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
             ERROR_SUCCESS;
}

void RegDeleteTree(const std::wstring &key) { ::SHDeleteKeyW(HKEY_CURRENT_USER, key.c_str()); }

void SetWineVersion(const std::wstring &version) {
  RegWriteString(L"Software\\Wine", L"Version", version);
}

namespace {

const wchar_t kSessionManager[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const wchar_t kPendingRenames[] = L"PendingFileRenameOperations";

} // namespace

std::vector<std::pair<std::wstring, std::wstring>> PendingRestartOperations() {
  std::vector<std::pair<std::wstring, std::wstring>> pairs;
  TRegistryKey key(HKEY_LOCAL_MACHINE, kSessionManager);
  DWORD bytes = 0;
  if (!key.Valid() || ::RegQueryValueExW(key.Get(), kPendingRenames, nullptr, nullptr, nullptr,
                                         &bytes) != ERROR_SUCCESS)
    return pairs;
  std::wstring data(bytes / sizeof(wchar_t) + 1, L'\0');
  ::RegQueryValueExW(key.Get(), kPendingRenames, nullptr, nullptr,
                     reinterpret_cast<BYTE *>(data.data()), &bytes);
  data.resize(bytes / sizeof(wchar_t));
  std::vector<std::wstring> strings;
  for (size_t start = 0; start < data.size();) {
    const size_t end = data.find(L'\0', start);
    strings.push_back(
        data.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
    if (end == std::wstring::npos)
      break;
    start = end + 1;
  }
  for (size_t i = 0; i + 1 < strings.size(); i += 2)
    pairs.emplace_back(strings[i], strings[i + 1]);
  return pairs;
}

void ForgetPendingBelow(const std::wstring &folder) {
  std::wstring kept;
  for (const auto &[source, target] : PendingRestartOperations())
    if (source.find(folder) == std::wstring::npos)
      kept += source + L'\0' + target + L'\0';
  TRegistryKey key(HKEY_LOCAL_MACHINE, kSessionManager, KEY_SET_VALUE);
  if (!key.Valid())
    return;
  if (kept.empty()) {
    key.DeleteValue(kPendingRenames);
  } else {
    kept += L'\0';
    ::RegSetValueExW(key.Get(), kPendingRenames, 0, REG_MULTI_SZ,
                     reinterpret_cast<const BYTE *>(kept.data()),
                     static_cast<DWORD>(kept.size() * sizeof(wchar_t)));
  }
}

std::wstring ProgramFolder() {
  wchar_t buf[MAX_PATH + 1] = {};
  DWORD n = ::GetModuleFileNameW(nullptr, buf, MAX_PATH);
  return ExtractFilePath(std::wstring(buf, n));
}

} // namespace velmora::test
