#include "app/CookieCache.h"

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

struct TCacheFind {
  HANDLE Handle = nullptr;
  ~TCacheFind() {
    if (Handle)
      FindCloseUrlCache(Handle);
  }
};

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

void ListCookieCacheEntries(const std::function<bool(const std::wstring &)> &onCookie,
                            const TMessagePump &pump) {
  TCacheFind find;
  DWORD size = 0;
  find.Handle = FindFirstUrlCacheEntryW(nullptr, nullptr, &size);
  if (!find.Handle && GetLastError() != ERROR_INSUFFICIENT_BUFFER)
    return;
  if (find.Handle) { // an entry without a buffer cannot be; start afresh
    FindCloseUrlCache(find.Handle);
    find.Handle = nullptr;
  }
  std::vector<unsigned char> buffer = EntryBuffer(size);
  size = static_cast<DWORD>(buffer.size());
  find.Handle = FindFirstUrlCacheEntryW(
      nullptr, reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW *>(buffer.data()), &size);
  if (!find.Handle)
    return; // empty cache
  if (pump)
    pump();
  if (!Offer(buffer, onCookie))
    return;
  for (;;) {
    if (pump)
      pump();
    size = 0;
    // Any answer but "buffer too small" ends the enumeration (no more
    // items, or an unexpected error that must not keep this loop going).
    if (FindNextUrlCacheEntryW(find.Handle, nullptr, &size) ||
        GetLastError() != ERROR_INSUFFICIENT_BUFFER)
      return;
    buffer = EntryBuffer(size);
    size = static_cast<DWORD>(buffer.size());
    if (!FindNextUrlCacheEntryW(
            find.Handle, reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW *>(buffer.data()), &size))
      return;
    if (!Offer(buffer, onCookie))
      return;
  }
}

} // namespace velmora
