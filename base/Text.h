#pragma once
// Text helpers. Inside the program text is UTF-16; these convert at the
// edges and give the few comparisons the Windows rules need.
#include <cstdarg>
#include <string>

namespace velmora {

std::string ToUtf8(const std::wstring &s);
std::wstring FromUtf8(const std::string &s);
// The system's ANSI code page (CP_ACP).
std::string ToAnsi(const std::wstring &s);
std::wstring FromAnsi(const std::string &s);

// Text of a file's bytes: a byte-order mark selects UTF-16 (either byte
// order) or UTF-8, otherwise the ANSI code page. An odd trailing byte of
// UTF-16 is dropped.
std::wstring DecodeText(const std::string &bytes);

// printf-style formatting of wide text (%s takes a wchar_t*, as with the
// Windows CRT's wide functions).
std::wstring Format(const wchar_t *pattern, ...);

// Fills a report text that comes from a language pack without ever using it
// as a printf pattern: every "%" followed by conversion (say 's' or 'd')
// takes value, "%%" is one '%', and any other '%' stays as written.
std::wstring FillIn(const std::wstring &pattern, wchar_t conversion, const std::wstring &value);

// Case-insensitive comparison by the system's rules (CompareStringW with
// NORM_IGNORECASE), and an upper-cased copy for use as a hash key.
bool SameText(const std::wstring &a, const std::wstring &b);
std::wstring UpperCase(const std::wstring &s);

// Removes leading and trailing blanks and control characters.
std::wstring Trim(const std::wstring &s);

// Folder helpers on plain text.
std::wstring IncludeTrailingBackslash(const std::wstring &path);
std::wstring ExcludeTrailingBackslash(const std::wstring &path);
std::wstring ExtractFileName(const std::wstring &path);
std::wstring ExtractFilePath(const std::wstring &path); // with its backslash

} // namespace velmora
