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

// printf-style formatting of wide text (%s takes a wchar_t*, as with the
// Windows CRT's wide functions).
std::wstring Format(const wchar_t *pattern, ...);

// Case-insensitive comparison by the system's rules (CompareStringW with
// NORM_IGNORECASE), and an upper-cased copy for use as a hash key.
bool SameText(const std::wstring &a, const std::wstring &b);
std::wstring UpperCase(const std::wstring &s);

// Removes leading and trailing blanks and control characters.
std::wstring Trim(const std::wstring &s);

bool StartsWith(const std::wstring &s, const std::wstring &prefix);
bool EndsWith(const std::wstring &s, const std::wstring &suffix);

// Folder helpers on plain text.
std::wstring IncludeTrailingBackslash(const std::wstring &path);
std::wstring ExcludeTrailingBackslash(const std::wstring &path);
std::wstring ExtractFileName(const std::wstring &path);
std::wstring ExtractFilePath(const std::wstring &path); // with its backslash

} // namespace velmora
