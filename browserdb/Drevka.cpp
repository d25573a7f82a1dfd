// Drevka.dll: the exports. Each one copies its BSTR
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

bool __stdcall RepairChromeHis(BSTR bookmarksPath, BSTR historyPath, BSTR thumbnailsPath) {
  return Guarded(
      [&] { RepairChromeHistory(Text(bookmarksPath), Text(historyPath), Text(thumbnailsPath)); });
}

bool __stdcall RepairChromeFill(BSTR webDataPath) {
  return Guarded([&] {
    RepairTables(Text(webDataPath), {{L"autofill", "delete from autofill"},
                                     {L"autofill_dates", "delete from autofill_dates"}});
  });
}

bool __stdcall RepairChromeDown(BSTR historyPath) {
  return Guarded([&] {
    RepairTables(Text(historyPath),
                 {{L"downloads", "delete from downloads"},
                  // Today's schemas keep each download's addresses and parts apart.
                  {L"downloads_url_chains", "delete from downloads_url_chains"},
                  {L"downloads_slices", "delete from downloads_slices"},
                  {L"downloads_reroute_info", "delete from downloads_reroute_info"}});
  });
}

bool __stdcall RepairChromeCk(BSTR cookiesPath) {
  return Guarded([&] { RepairTables(Text(cookiesPath), {{L"cookies", "delete from cookies"}}); });
}

void __stdcall ScanChromeCk(BSTR *result, BSTR cookiesPath) {
  GuardedScan(result, [&] {
    return ScanHosts(Text(cookiesPath), L"cookies", "select distinct host_key from cookies",
                     L"host_key");
  });
}

bool __stdcall RepairMozHis(BSTR placesPath) {
  return Guarded([&] { RepairMozHistory(Text(placesPath)); });
}

bool __stdcall RepairMozCk(BSTR cookiesPath) {
  return Guarded([&] {
    RepairTables(Text(cookiesPath), {{L"moz_cookies", "delete from moz_cookies"}});
  });
}

void __stdcall ScanMozCk(BSTR *result, BSTR cookiesPath) {
  GuardedScan(result, [&] {
    return ScanHosts(Text(cookiesPath), L"moz_cookies", "select distinct host from moz_cookies",
                     L"host");
  });
}

// ---- Exports added after the eight: Chromium databases of today ----

bool __stdcall RepairChromePages(BSTR bookmarksPath, BSTR databasePath) {
  return Guarded(
      [&] { velmora::drevka::RepairChromePages(Text(bookmarksPath), Text(databasePath)); });
}

// ---- Today's Firefox ----

bool __stdcall RepairMozDown(BSTR placesPath) {
  return Guarded([&] { RepairMozDownloads(Text(placesPath)); });
}

void __stdcall ScanMozDown(BSTR *result, BSTR placesPath) {
  GuardedScan(result, [&] { return ScanMozDownloads(Text(placesPath)); });
}

bool __stdcall RepairMozForm(BSTR formHistoryPath) {
  return Guarded([&] { RepairMozForms(Text(formHistoryPath)); });
}

void __stdcall ScanMozForm(BSTR *result, BSTR formHistoryPath) {
  GuardedScan(result, [&] { return ScanMozForms(Text(formHistoryPath)); });
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
static_assert(std::is_same_v<decltype(&::RepairChromePages), TRepairChromePages>);
static_assert(std::is_same_v<decltype(&RepairMozDown), TRepairMozDown>);
static_assert(std::is_same_v<decltype(&ScanMozDown), TScanMozDown>);
static_assert(std::is_same_v<decltype(&RepairMozForm), TRepairMozForm>);
static_assert(std::is_same_v<decltype(&ScanMozForm), TScanMozForm>);
