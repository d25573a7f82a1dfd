#include "app/CookieCache.h"

#include "base/UrlCache.h"

#include <windows.h>
#include <wininet.h>

#include <vector>

namespace velmora {

std::wstring CookieSiteOf(const std::wstring &urlName) {
  const size_t at = urlName.find(L'@');
  const std::wstring site = at == std::wstring::npos ? urlName : urlName.substr(at + 1);
  return site.substr(0, kMaxCookieSite);
}

namespace {

// The entry record in a buffer of the size the cache asked for.
std::vector<unsigned char> EntryBuffer(DWORD size) {
  return std::vector<unsigned char>(
      size < sizeof(INTERNET_CACHE_ENTRY_INFOW) ? sizeof(INTERNET_CACHE_ENTRY_INFOW) : size);
}

// True to go on.
bool Offer(const std::vector<unsigned char> &buffer,
           const std::function<bool(const std::wstring &)> &onCookie) {
  const auto *entry = reinterpret_cast<const INTERNET_CACHE_ENTRY_INFOW *>(buffer.data());
  if (!(entry->CacheEntryType & kCookieCacheEntry) || !entry->lpszSourceUrlName)
    return true;
  return onCookie(entry->lpszSourceUrlName);
}

} // namespace

TCacheStep NextCacheStep(bool read, DWORD error, int &failures) {
  if (read) {
    failures = 0;
    return TCacheStep::Offer;
  }
  if (error == ERROR_NO_MORE_ITEMS || error == ERROR_INVALID_PARAMETER)
    return TCacheStep::End;
  // The entry changed between the size and the read, or the cache answered
  // with an error of its own: ask again, but not for ever.
  return ++failures >= kMaxCacheFailures ? TCacheStep::End : TCacheStep::Retry;
}

namespace {

// Reads the next entry (the first when find is not open yet) into buffer:
// the size first, then the record. False with the error code when it could
// not be read.
bool ReadEntry(UniqueUrlCacheFind &find, std::vector<unsigned char> &buffer, DWORD &error) {
  DWORD size = 0;
  const bool first = !find;
  if (first) {
    const UniqueUrlCacheFind probe(FindFirstUrlCacheEntryW(nullptr, nullptr, &size));
    error = probe ? ERROR_INSUFFICIENT_BUFFER // an entry without a buffer cannot be; start afresh
                  : GetLastError();
  } else {
    error = FindNextUrlCacheEntryW(find.Get(), nullptr, &size) ? ERROR_INSUFFICIENT_BUFFER
                                                               : GetLastError();
  }
  if (error != ERROR_INSUFFICIENT_BUFFER)
    return false;
  buffer = EntryBuffer(size);
  size = static_cast<DWORD>(buffer.size());
  auto *record = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW *>(buffer.data());
  if (first) {
    find.Reset(FindFirstUrlCacheEntryW(nullptr, record, &size));
    if (find)
      return true;
  } else if (FindNextUrlCacheEntryW(find.Get(), record, &size)) {
    return true;
  }
  error = GetLastError();
  return false;
}

} // namespace

void ListCookieCacheEntries(const std::function<bool(const std::wstring &)> &onCookie,
                            const TMessagePump &pump) {
  UniqueUrlCacheFind find;
  std::vector<unsigned char> buffer;
  int failures = 0;
  for (;;) {
    if (pump)
      pump();
    DWORD error = 0;
    const bool read = ReadEntry(find, buffer, error);
    // Without an open enumeration "no more items" means an empty cache.
    if (!read && !find && error == ERROR_NO_MORE_ITEMS)
      return;
    switch (NextCacheStep(read, error, failures)) {
    case TCacheStep::Offer:
      if (!Offer(buffer, onCookie))
        return;
      break;
    case TCacheStep::Retry:
      break;
    case TCacheStep::End:
      return;
    }
  }
}

} // namespace velmora
