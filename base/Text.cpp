#include "base/Text.h"

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

namespace {

std::wstring DecodeUtf16(const std::string &bytes, size_t from, bool bigEndian) {
  std::wstring out((bytes.size() - from) / 2, L'\0');
  for (size_t i = 0; i < out.size(); ++i) {
    const auto a = static_cast<unsigned char>(bytes[from + 2 * i]);
    const auto b = static_cast<unsigned char>(bytes[from + 2 * i + 1]);
    out[i] = static_cast<wchar_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
  }
  return out;
}

} // namespace

std::wstring DecodeText(const std::string &bytes) {
  const auto starts = [&](const char *mark, size_t n) {
    return bytes.size() >= n && bytes.compare(0, n, mark, n) == 0;
  };
  if (starts("\xFF\xFE", 2))
    return DecodeUtf16(bytes, 2, false);
  if (starts("\xFE\xFF", 2))
    return DecodeUtf16(bytes, 2, true);
  if (starts("\xEF\xBB\xBF", 3))
    return FromUtf8(bytes.substr(3));
  return FromAnsi(bytes);
}

std::wstring FillIn(const std::wstring &pattern, wchar_t conversion, const std::wstring &value) {
  std::wstring out;
  out.reserve(pattern.size() + value.size());
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == L'%' && i + 1 < pattern.size()) {
      if (pattern[i + 1] == conversion) {
        out += value;
        ++i;
        continue;
      }
      if (pattern[i + 1] == L'%') {
        out += L'%';
        ++i;
        continue;
      }
    }
    out += pattern[i];
  }
  return out;
}

std::wstring IncludeTrailingBackslash(const std::wstring &path) {
  return path.ends_with(L"\\") ? path : path + L"\\";
}

std::wstring ExcludeTrailingBackslash(const std::wstring &path) {
  return path.ends_with(L"\\") ? path.substr(0, path.size() - 1) : path;
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
