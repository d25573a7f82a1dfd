#pragma once
// A cookie entry planted in the WinINet URL cache of the private prefix
// ("Cookie:user@host/path"), deleted again with the object.
#include "TestSupport.h"

#include <windows.h>
#include <wininet.h>

#include <string>

namespace velmora::test {

class TCookieCacheEntry {
public:
  TCookieCacheEntry(const std::wstring &url, size_t bytes) : url_(url) {
    wchar_t file[MAX_PATH + 1] = {};
    ok_ = ::CreateUrlCacheEntryW(url.c_str(), 0, L"txt", file, 0) != FALSE;
    if (!ok_)
      return;
    WriteFileBytes(file, std::string(bytes, 'c'));
    FILETIME none{};
    ok_ = ::CommitUrlCacheEntryW(url.c_str(), file, none, none, COOKIE_CACHE_ENTRY, nullptr, 0,
                                 nullptr, nullptr) != FALSE;
  }
  ~TCookieCacheEntry() { ::DeleteUrlCacheEntryW(url_.c_str()); }
  TCookieCacheEntry(const TCookieCacheEntry &) = delete;
  TCookieCacheEntry &operator=(const TCookieCacheEntry &) = delete;
  bool Ok() const { return ok_; }

private:
  std::wstring url_;
  bool ok_ = false;
};

} // namespace velmora::test
