#include "settings/ConfigFile.h"

#include "base/Error.h"
#include "base/Text.h"
#include "system/AppFrame_New.h"

#include <windows.h>

#include <shlobj.h>

#include <climits>

namespace velmora {

std::wstring ConfigFolder(const TAppFrame &frame) {
  return frame.CommonAppDataPath + L"\\Quorvix\\";
}

std::wstring ConfigFilePath(const TAppFrame &frame) {
  return ConfigFolder(frame) + L"VL_Config.ini";
}

std::wstring TConfigFile::ReadString(const std::wstring &section, const std::wstring &key,
                                     const std::wstring &def) const {
  wchar_t buf[2048];
  DWORD n = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), def.c_str(), buf, 2048,
                                       path_.c_str());
  return std::wstring(buf, n);
}

bool TryParseConfigInteger(const std::wstring &text, int &value) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
    negative = text[i++] == L'-';
  unsigned base = 10;
  if (text.size() - i >= 3 && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size())
    return false;
  long long v = 0;
  for (; i < text.size(); ++i) {
    wchar_t c = text[i];
    unsigned d;
    if (c >= L'0' && c <= L'9')
      d = c - L'0';
    else if (base == 16 && c >= L'a' && c <= L'f')
      d = c - L'a' + 10;
    else if (base == 16 && c >= L'A' && c <= L'F')
      d = c - L'A' + 10;
    else
      return false;
    v = v * base + d;
    // Hexadecimal may fill all 32 bits (0xFFFFFFFF is -1); decimal may not overflow.
    if (v > (base == 16 ? 0xFFFFFFFFLL : static_cast<long long>(INT_MAX) + 1))
      return false;
  }
  if (base == 16)
    v = static_cast<int32_t>(static_cast<uint32_t>(v));
  else if (!negative && v > INT_MAX)
    return false;
  value = static_cast<int>(negative ? -v : v);
  return true;
}

bool TConfigFile::ReadBool(const std::wstring &section, const std::wstring &key, bool def) const {
  int v = 0;
  return TryParseConfigInteger(ReadString(section, key, L""), v) ? v != 0 : def;
}

int TConfigFile::ReadInteger(const std::wstring &section, const std::wstring &key, int def) const {
  int v = 0;
  return TryParseConfigInteger(ReadString(section, key, L""), v) ? v : def;
}

bool TConfigFile::ReadExactOne(const std::wstring &section, const std::wstring &key) const {
  return ReadString(section, key, L"1") == L"1";
}

void TConfigFile::WriteString(const std::wstring &section, const std::wstring &key,
                              const std::wstring &value) {
  if (!::WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path_.c_str()))
    throw EAppError(Format(L"Unable to write to %s", path_.c_str()));
}

void TConfigFile::WriteBool(const std::wstring &section, const std::wstring &key, bool value) {
  WriteString(section, key, value ? L"1" : L"0");
}

void TConfigFile::DeleteKey(const std::wstring &section, const std::wstring &key) {
  // Absent key or missing file: nothing to do and nothing to report.
  ::WritePrivateProfileStringW(section.c_str(), key.c_str(), nullptr, path_.c_str());
}

std::vector<std::wstring> TConfigFile::ReadSection(const std::wstring &section) const {
  // With no key the profile function lists the keys, each ending in NUL.
  std::wstring buf(16384, L'\0');
  for (;;) {
    DWORD n = ::GetPrivateProfileStringW(section.c_str(), nullptr, L"", buf.data(),
                                         static_cast<DWORD>(buf.size()), path_.c_str());
    if (n + 2 < buf.size())
      break;
    buf.assign(buf.size() * 4, L'\0');
  }
  std::vector<std::wstring> keys;
  for (const wchar_t *p = buf.c_str(); *p; p += wcslen(p) + 1)
    keys.emplace_back(p);
  return keys;
}

std::vector<std::wstring> TConfigFile::ReadSectionValues(const std::wstring &section) const {
  std::vector<std::wstring> lines;
  for (const std::wstring &key : ReadSection(section))
    lines.push_back(key + L"=" + ReadString(section, key, L""));
  return lines;
}

bool TConfigFile::SectionExists(const std::wstring &section) const {
  return !ReadSection(section).empty();
}

std::wstring ReadLanguageChoiceFrom(const std::wstring &companionFile) {
  return TConfigFile(companionFile).ReadString(L"setting", L"Language", L"English");
}

std::wstring ReadLanguageChoice() {
  try {
    LPITEMIDLIST items = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_COMMON_APPDATA, &items)) || !items)
      return {};
    wchar_t buf[MAX_PATH + 1] = {};
    BOOL ok = ::SHGetPathFromIDListW(items, buf);
    ::CoTaskMemFree(items);
    if (!ok)
      return {};
    return ReadLanguageChoiceFrom(std::wstring(buf) + L"\\Kavrel\\Kavrel Bastion\\config.ini");
  } catch (...) {
    return {};
  }
}

} // namespace velmora
