#pragma once
// Small pieces the scanner's own files share; not part of its interface.
#include <string>

namespace velmora::privacy {

// The root word every registry trace of this program starts with.
inline const wchar_t kUserRoot[] = L"HKEY_CURRENT_USER";
// Between a detail line's path and its size text.
inline const wchar_t kSizeGap[] = L"   ";

// Display-only entries of the cookie hosts of the browser databases; the
// cleaning never reads them as paths or registry names.
inline const wchar_t kFirefoxCookiePrefix[] = L"FireFox 3 Cookie: ";
inline const wchar_t kChromeCookiePrefix[] = L"Google Chrome Cookie: ";
// Firefox's display-only entries: the browser name, " (<profile name>)" for
// a profile that is not the default, then the kind of entry. No file or
// registry target starts with the name and its space.
inline const wchar_t kFirefoxName[] = L"FireFox 3";
inline const wchar_t kFirefoxDisplayStart[] = L"FireFox 3 ";
inline const wchar_t kCookieWord[] = L" Cookie: ";
inline const wchar_t kDownloadWord[] = L" Download: ";
inline const wchar_t kFormWord[] = L" Form: ";

// Progress captions are cut to their first 60 characters.
inline std::wstring Caption60(const std::wstring &text) { return text.substr(0, 60); }

// Key paths are written "\Software\..."; the registry wants them without
// the leading backslash.
inline std::wstring RegistrySubkey(const std::wstring &keyPath) {
  return !keyPath.empty() && keyPath[0] == L'\\' ? keyPath.substr(1) : keyPath;
}

} // namespace velmora::privacy
