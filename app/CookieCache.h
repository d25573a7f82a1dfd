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

// What the listing does after one attempt to read an entry.
enum class TCacheStep {
  Offer, // the entry was read: hand it on
  Retry, // it could not be read: ask again (the cache has moved on or the size changed)
  End,   // no more entries, or an error the listing cannot get past
};
// Consecutive entries that could not be read before the listing gives up.
constexpr int kMaxCacheFailures = 16;
// The step after one attempt: read or not, the error code of a failed
// one, and the count of failures in a row (updated).
TCacheStep NextCacheStep(bool read, unsigned long error, int &failures);

// Calls onCookie with the source URL name of every cookie entry, one at a
// time, processing window messages (pump) between entries. onCookie
// returns false to stop the enumeration. An entry that cannot be read
// (it changed size between the two calls) does not end the listing; the
// end of the entries, or kMaxCacheFailures failures in a row, do.
void ListCookieCacheEntries(const std::function<bool(const std::wstring &)> &onCookie,
                            const TMessagePump &pump);

} // namespace velmora
