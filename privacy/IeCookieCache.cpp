// Internet Explorer's cookie entries in the WinINet URL cache.
#include "privacy/PrivacyScanner.h"
#include "privacy/ScannerDetail.h"

#include "base/UrlCache.h"
#include "system/Routines.h"

#include <windows.h>

#include <wininet.h>

#include <vector>

namespace velmora {

namespace {

const INTERNET_CACHE_ENTRY_INFOW *Entry(const std::vector<BYTE> &buffer) {
  return reinterpret_cast<const INTERNET_CACHE_ENTRY_INFOW *>(buffer.data());
}

std::wstring Text(const wchar_t *s) { return s ? std::wstring(s) : std::wstring(); }

// After this many entries in a row that cannot be read even with a buffer
// of the size asked for, the enumeration gives up rather than spin.
constexpr int kMaxUnreadable = 8;

} // namespace

void TPrivacyScanner::CollectIeCookies() {
  IeCookieUrls.clear();

  std::vector<BYTE> buffer;
  DWORD size = 0;
  UniqueUrlCacheFind find;
  find.Reset(::FindFirstUrlCacheEntryW(nullptr, nullptr, &size));
  if (!find && ::GetLastError() == ERROR_INSUFFICIENT_BUFFER && size > 0) {
    buffer.assign(size, 0);
    find.Reset(::FindFirstUrlCacheEntryW(
        nullptr, reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW *>(buffer.data()), &size));
  }
  if (!find)
    return;

  auto offer = [this, &buffer] {
    const INTERNET_CACHE_ENTRY_INFOW *e = Entry(buffer);
    if (e->CacheEntryType & COOKIE_CACHE_ENTRY)
      AddIeCookie(Text(e->lpszSourceUrlName), Text(e->lpszLocalFileName), e->dwSizeLow);
  };
  PumpBetweenEntries();
  offer();

  for (int unreadable = 0; unreadable < kMaxUnreadable;) {
    PumpBetweenEntries();
    size = 0;
    if (::FindNextUrlCacheEntryW(find.Get(), nullptr, &size))
      break; // no entry fits in no buffer; nothing sensible follows
    // Any error other than "buffer too small" ends the enumeration (the end
    // of the cache is ERROR_NO_MORE_ITEMS).
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0)
      break;
    buffer.assign(size, 0);
    if (::FindNextUrlCacheEntryW(
            find.Get(), reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW *>(buffer.data()), &size)) {
      unreadable = 0;
      offer();
    } else {
      ++unreadable;
    }
  }
}

void TPrivacyScanner::AddIeCookie(const std::wstring &sourceUrl, const std::wstring &localFile,
                                  uint32_t sizeLow) {
  const size_t at = sourceUrl.find(L'@');
  const std::wstring site =
      at == std::wstring::npos ? sourceUrl.substr(0, 260) : sourceUrl.substr(at + 1, 260);
  for (const std::wstring &keep : KeepCookies)
    if (keep == site)
      return;
  IeCookieUrls.push_back(sourceUrl);
  ++ItemCount;
  TotalBytes += sizeLow;
  DetailLines.push_back(localFile + privacy::kSizeGap + SizeText(sizeLow));
  Targets.push_back(localFile);
}

} // namespace velmora
