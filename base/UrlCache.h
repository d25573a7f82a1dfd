#pragma once
// Owner of a WinINet URL cache enumeration (FindFirstUrlCacheEntryW).
#include "base/Handles.h"

#include <wininet.h>

namespace velmora {

struct UrlCacheFindTraits {
  using Type = HANDLE;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::FindCloseUrlCache(h); }
};
using UniqueUrlCacheFind = UniqueHandle<UrlCacheFindTraits>;

} // namespace velmora
