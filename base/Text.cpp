#include "Text.h"

#include <windows.h>

#include <cwchar>
#include <vector>

namespace velmora {

namespace {

std::string Narrow(UINT codePage, const std::wstring &s) {
  if (s.empty())
    return {};
  int n = ::WideCharToMultiByte(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0,
                                nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(codePage, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr,
                        nullptr);
  return out;
}

std::wstring Widen(UINT codePage, const std::string &s) {
  if (s.empty())
    return {};
  int n = ::MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

} // namespace

std::string ToUtf8(const std::wstring &s) { return Narrow(CP_UTF8, s); }
std::wstring FromUtf8(const std::string &s) { return Widen(CP_UTF8, s); }
std::string ToAnsi(const std::wstring &s) { return Narrow(CP_ACP, s); }
std::wstring FromAnsi(const std::string &s) { return Widen(CP_ACP, s); }

std::wstring Format(const wchar_t *pattern, ...) {
  std::vector<wchar_t> buf(256);
  for (;;) {
    va_list args;
    va_start(args, pattern);
    int n = _vsnwprintf(buf.data(), buf.size(), pattern, args);
    va_end(args);
    if (n >= 0 && static_cast<size_t>(n) < buf.size())
      return std::wstring(buf.data(), static_cast<size_t>(n));
    buf.resize(buf.size() * 2);
  }
}

bool SameText(const std::wstring &a, const std::wstring &b) {
  return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                          static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

std::wstring UpperCase(const std::wstring &s) {
  std::wstring out = s;
  if (!out.empty())
    ::CharUpperBuffW(out.data(), static_cast<DWORD>(out.size()));
  return out;
}

std::wstring Trim(const std::wstring &s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] <= L' ')
    ++b;
  while (e > b && s[e - 1] <= L' ')
    --e;
  return s.substr(b, e - b);
}

bool StartsWith(const std::wstring &s, const std::wstring &prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::wstring &s, const std::wstring &suffix) {
  return s.size() >= suffix.size() &&
         s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::wstring IncludeTrailingBackslash(const std::wstring &path) {
  return EndsWith(path, L"\\") ? path : path + L"\\";
}

std::wstring ExcludeTrailingBackslash(const std::wstring &path) {
  return EndsWith(path, L"\\") ? path.substr(0, path.size() - 1) : path;
}

std::wstring ExtractFileName(const std::wstring &path) {
  size_t p = path.find_last_of(L"\\/:");
  return p == std::wstring::npos ? path : path.substr(p + 1);
}

std::wstring ExtractFilePath(const std::wstring &path) {
  size_t p = path.find_last_of(L"\\/:");
  return p == std::wstring::npos ? std::wstring() : path.substr(0, p + 1);
}

} // namespace velmora
