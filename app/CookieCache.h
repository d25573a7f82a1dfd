#pragma once
// The current user's Internet Explorer cookie entries, from the WinINet
// URL cache.
#include "base/Screen.h"

#include <functional>
#include <string>

namespace velmora {

// Cache entries of this type are cookies.
constexpr unsigned long kCookieCacheEntry = 0x00100000;
// Longest cookie site kept.
constexpr size_t kMaxCookieSite = 260;

// The site of a cookie entry's source URL name ("Cookie:user@host/path"):
// the text after the first '@', the whole name when it has none, at most
// 260 characters.
std::wstring CookieSiteOf(const std::wstring &urlName);

// Calls onCookie with the source URL name of every cookie entry, one at a
// time, processing window messages (pump) between entries. onCookie
// returns false to stop the enumeration.
void ListCookieCacheEntries(const std::function<bool(const std::wstring &)> &onCookie,
                            const TMessagePump &pump);

} // namespace velmora
