#include "system/Routines.h"

#include "base/Error.h"
#include "base/FolderEntries.h"
#include "base/Handles.h"
#include "base/Text.h"

#include <windows.h>

#include <fstream>
#include <sstream>
#include <vector>

namespace velmora {

std::wstring TextBefore(const std::wstring &text, int count, wchar_t delimiter) {
  if (delimiter == L'\0')
    return text.substr(0, count < 0 ? 0 : static_cast<size_t>(count));
  size_t p = text.find(delimiter);
  return p == std::wstring::npos ? std::wstring() : text.substr(0, p);
}

std::wstring TwoDecimals(double value) {
  std::wstring s = Format(L"%.2f", value);
  wchar_t sep[8] = L".";
  if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, sep, 8) > 0) {
    size_t dot = s.find(L'.');
    if (dot != std::wstring::npos)
      s.replace(dot, 1, sep);
  }
  return s;
}

namespace {

std::wstring LadderText(int64_t bytes, bool showBytes) {
  const int64_t k = bytes / 1024, m = k / 1024, g = m / 1024;
  if (k <= 0)
    return showBytes ? std::to_wstring(bytes) + L" Byte" : L"0 Byte";
  if (m <= 0)
    return TwoDecimals(static_cast<double>(bytes) / 1024) + L" KB";
  if (g <= 0)
    return TwoDecimals(static_cast<double>(bytes) / 1024 / 1024) + L" MB";
  return TwoDecimals(static_cast<double>(bytes) / 1024 / 1024 / 1024) + L" GB";
}

std::wstring FromBuffer(const wchar_t *buf, UINT n, UINT capacity) {
  return n == 0 || n >= capacity ? std::wstring() : std::wstring(buf, n);
}

OSVERSIONINFOW VersionInfo() {
  OSVERSIONINFOW v{};
  v.dwOSVersionInfoSize = sizeof(v);
  ::GetVersionExW(&v);
  return v;
}

} // namespace

std::wstring SizeText(int64_t bytes) { return LadderText(bytes, true); }
std::wstring SizeTextNoBytes(int64_t bytes) { return LadderText(bytes, false); }

std::wstring WindowsFolder() {
  wchar_t buf[255];
  return FromBuffer(buf, ::GetWindowsDirectoryW(buf, 255), 255);
}

std::wstring SystemFolder() {
  wchar_t buf[255];
  return FromBuffer(buf, ::GetSystemDirectoryW(buf, 255), 255);
}

std::wstring TempFolder() {
  wchar_t buf[255];
  return FromBuffer(buf, ::GetTempPathW(255, buf), 255);
}

bool IsFileInUse(const std::wstring &path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  // A read-only file cannot be opened for writing on Windows; say so even
  // where the open would pass (an administrator under Wine, for one).
  if (attributes & FILE_ATTRIBUTE_READONLY)
    return true;
  UniqueFile f(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  return !f.Valid();
}

std::wstring WindowsName() {
  const OSVERSIONINFOW v = VersionInfo();
  if (v.dwPlatformId != VER_PLATFORM_WIN32_NT)
    return {};
  if (v.dwMajorVersion == 3 || v.dwMajorVersion == 4)
    return L"Windows NT";
  if (v.dwMajorVersion == 5 && v.dwMinorVersion == 0)
    return L"Windows 2000";
  if (v.dwMajorVersion == 5 && v.dwMinorVersion == 1)
    return L"Windows XP";
  if (v.dwMajorVersion == 5 && v.dwMinorVersion == 2)
    return L"Windows 2003 Server";
  if (v.dwMajorVersion == 6 && v.dwMinorVersion == 0)
    return L"Windows Vista";
  return {};
}

uint32_t FileVersionHigh(const std::wstring &path) {
  DWORD handle = 0;
  DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &handle);
  if (size == 0)
    return 0;
  std::vector<BYTE> data(size);
  if (!::GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
    return 0;
  VS_FIXEDFILEINFO *info = nullptr;
  UINT len = 0;
  if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void **>(&info), &len) || !info ||
      len < sizeof(VS_FIXEDFILEINFO))
    return 0;
  return info->dwFileVersionMS;
}

namespace {

// A name the 9x rename list can hold as it is: at most eight characters
// before the first dot and three after it.
bool IsValidShortName(const std::wstring &name) {
  size_t dot = name.find(L'.');
  if (dot == std::wstring::npos)
    return name.size() <= 8;
  return dot <= 8 && name.size() - dot - 1 <= 3;
}

std::wstring ShortPath(const std::wstring &path) {
  wchar_t buf[MAX_PATH + 1] = {};
  DWORD n = ::GetShortPathNameW(path.c_str(), buf, MAX_PATH + 1);
  return n == 0 || n > MAX_PATH ? std::wstring() : std::wstring(buf, n);
}

std::vector<std::string> ReadLines(const std::wstring &file) {
  std::vector<std::string> lines;
  std::ifstream in(file.c_str(), std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool WriteLines(const std::wstring &file, const std::vector<std::string> &lines) {
  std::ofstream out(file.c_str(), std::ios::binary | std::ios::trunc);
  for (const std::string &l : lines)
    out << l << "\r\n";
  return static_cast<bool>(out.flush());
}

bool ScheduleOnWin9x(const std::wstring &windowsFolder, const std::wstring &source,
                     const std::wstring &target, int operation) {
  const std::wstring ini = IncludeTrailingBackslash(windowsFolder) + L"wininit.ini";
  std::vector<std::string> lines = ReadLines(ini);
  size_t header = lines.size();
  for (size_t i = 0; i < lines.size(); ++i)
    if (SameText(FromAnsi(lines[i]), L"[rename]")) {
      header = i;
      break;
    }
  if (header == lines.size())
    lines.push_back("[rename]");

  const std::wstring shortSource = ShortPath(source);
  std::wstring shortTarget = target;
  if (FileExists(target) || FolderExists(target))
    shortTarget = ShortPath(target);
  else if (!IsValidShortName(ExtractFileName(target)))
    throw EAppError(L"Invalid File!");

  if (operation == 1)
    lines.insert(lines.begin() + static_cast<ptrdiff_t>(header) + 1, "NUL=" + ToAnsi(shortSource));
  else if (operation == 2)
    lines.insert(lines.begin() + static_cast<ptrdiff_t>(header) + 1,
                 ToAnsi(shortTarget) + "=" + ToAnsi(shortSource));
  WriteLines(ini, lines);
  return true;
}

} // namespace

bool MoveFileAtRestartOn(unsigned long platformId, const std::wstring &windowsFolder,
                         const std::wstring &source, const std::wstring &target, int operation) {
  const DWORD kDelayReplace = MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING;
  switch (platformId) {
  case VER_PLATFORM_WIN32s:
    ::SetLastError(ERROR_NOT_SUPPORTED);
    return false;
  case VER_PLATFORM_WIN32_NT:
    if (operation == 1)
      return ::MoveFileExW(source.c_str(), nullptr, kDelayReplace) != FALSE;
    if (operation == 2)
      return ::MoveFileExW(source.c_str(), target.c_str(), kDelayReplace) != FALSE;
    return false;
  default:
    return ScheduleOnWin9x(windowsFolder, source, target, operation);
  }
}

bool MoveFileAtRestart(const std::wstring &source, const std::wstring &target, int operation) {
  const OSVERSIONINFOW v = VersionInfo();
  std::wstring windows;
  if (v.dwPlatformId != VER_PLATFORM_WIN32_NT && v.dwPlatformId != VER_PLATFORM_WIN32s) {
    wchar_t buf[MAX_PATH + 1] = {};
    windows = FromBuffer(buf, ::GetWindowsDirectoryW(buf, MAX_PATH + 1), MAX_PATH + 1);
  }
  return MoveFileAtRestartOn(v.dwPlatformId, windows, source, target, operation);
}

} // namespace velmora
