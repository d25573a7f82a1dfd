// Drevka.dll: the eight exports. Each one copies its BSTR
// arguments, runs its operation and catches every failure: a scan stores the
// empty text, a repair returns false. Nothing is kept between calls.
#include "browserdb/DrevkaApi.h"
#include "browserdb/DrevkaCommon.h"

#include <type_traits>

using namespace velmora::drevka;

namespace {

std::wstring Text(BSTR s) { return s ? std::wstring(s, ::SysStringLen(s)) : std::wstring(); }

void StoreResult(BSTR *slot, const std::wstring &text) noexcept {
  if (!slot)
    return;
  ::SysFreeString(*slot);
  *slot = text.empty() ? nullptr : ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

template <class F> bool Guarded(F &&work) noexcept {
  try {
    work();
    return true;
  } catch (...) {
    return false;
  }
}

template <class F> void GuardedScan(BSTR *slot, F &&scan) noexcept {
  std::wstring result;
  try {
    result = scan();
  } catch (...) {
    result.clear();
  }
  try {
    StoreResult(slot, result);
  } catch (...) {
  }
}

} // namespace

extern "C" {

bool __stdcall RepairChromeHis(BSTR BookmarksPath, BSTR HistoryPath, BSTR ThumbnailsPath) {
  return Guarded(
      [&] { RepairChromeHistory(Text(BookmarksPath), Text(HistoryPath), Text(ThumbnailsPath)); });
}

bool __stdcall RepairChromeFill(BSTR WebDataPath) {
  return Guarded([&] {
    RepairTables(Text(WebDataPath), {{L"autofill", "delete from autofill"},
                                     {L"autofill_dates", "delete from autofill_dates"}});
  });
}

bool __stdcall RepairChromeDown(BSTR HistoryPath) {
  return Guarded([&] {
    RepairTables(Text(HistoryPath), {{L"downloads", "delete from downloads"}});
  });
}

bool __stdcall RepairChromeCk(BSTR CookiesPath) {
  return Guarded([&] { RepairTables(Text(CookiesPath), {{L"cookies", "delete from cookies"}}); });
}

void __stdcall ScanChromeCk(BSTR *Result, BSTR CookiesPath) {
  GuardedScan(Result, [&] {
    return ScanHosts(Text(CookiesPath), L"cookies", "select distinct host_key from cookies",
                     L"host_key");
  });
}

bool __stdcall RepairMozHis(BSTR PlacesPath) {
  return Guarded([&] { RepairMozHistory(Text(PlacesPath)); });
}

bool __stdcall RepairMozCk(BSTR CookiesPath) {
  return Guarded([&] {
    RepairTables(Text(CookiesPath), {{L"moz_cookies", "delete from moz_cookies"}});
  });
}

void __stdcall ScanMozCk(BSTR *Result, BSTR CookiesPath) {
  GuardedScan(Result, [&] {
    return ScanHosts(Text(CookiesPath), L"moz_cookies", "select distinct host from moz_cookies",
                     L"host");
  });
}

} // extern "C"

// The definitions have exactly the types the program binds (DrevkaApi.h).
static_assert(std::is_same_v<decltype(&RepairChromeHis), TRepairChromeHis>);
static_assert(std::is_same_v<decltype(&RepairChromeFill), TRepairChromeFill>);
static_assert(std::is_same_v<decltype(&RepairChromeDown), TRepairChromeDown>);
static_assert(std::is_same_v<decltype(&RepairChromeCk), TRepairChromeCk>);
static_assert(std::is_same_v<decltype(&ScanChromeCk), TScanChromeCk>);
static_assert(std::is_same_v<decltype(&RepairMozHis), TRepairMozHis>);
static_assert(std::is_same_v<decltype(&RepairMozCk), TRepairMozCk>);
static_assert(std::is_same_v<decltype(&ScanMozCk), TScanMozCk>);
