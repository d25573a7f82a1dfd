#pragma once
// The export table and calling contract of Drevka.dll, as the
// program binds it: LoadLibraryW(kDrevkaLibrary), GetProcAddress by one of
// the names below, the call, FreeLibrary. Every export uses the standard
// call convention; texts are BSTRs owned by the caller. A text result comes
// back through a slot: the export frees what the slot held (SysFreeString)
// and stores a new BSTR, or nullptr for the empty text; the caller frees it.
// A repair returns true when its work finished (also when there was nothing
// to do) and false when a failure was caught. No exception ever leaves an
// export.
#include <windows.h>
// After windows.h, which it needs.
#include <oleauto.h>

namespace velmora::drevka {

inline constexpr wchar_t kDrevkaLibrary[] = L"Drevka.dll";

// Ordinal 1: RepairChromeHis(Bookmarks file, History database, Thumbnails database).
using TRepairChromeHis = bool(__stdcall *)(BSTR bookmarksPath, BSTR historyPath,
                                           BSTR thumbnailsPath);
// Ordinal 2: RepairChromeFill(Web Data database).
using TRepairChromeFill = bool(__stdcall *)(BSTR webDataPath);
// Ordinal 3: RepairChromeDown(History database).
using TRepairChromeDown = bool(__stdcall *)(BSTR historyPath);
// Ordinal 4: RepairChromeCk(Cookies database).
using TRepairChromeCk = bool(__stdcall *)(BSTR cookiesPath);
// Ordinal 5: ScanChromeCk(result slot, Cookies database): "host;host;...;".
using TScanChromeCk = void(__stdcall *)(BSTR *result, BSTR cookiesPath);
// Ordinal 6: RepairMozHis(places.sqlite); appends to "aa.log" beside the program (or in
// its data folder when the program's folder cannot be written).
using TRepairMozHis = bool(__stdcall *)(BSTR placesPath);
// Ordinal 7: RepairMozCk(cookies.sqlite).
using TRepairMozCk = bool(__stdcall *)(BSTR cookiesPath);
// Ordinal 8: ScanMozCk(result slot, cookies.sqlite): "host;host;...;".
using TScanMozCk = void(__stdcall *)(BSTR *result, BSTR cookiesPath);

// ---- Chromium databases of today (ordinals 9 to 19) ----
// Ordinal 9: RepairChromePages(Bookmarks file, Top Sites or Shortcuts database):
// deletes the rows of pages whose address the Bookmarks file does not quote.
using TRepairChromePages = bool(__stdcall *)(BSTR bookmarksPath, BSTR databasePath);
inline constexpr char kRepairChromePages[] = "RepairChromePages";

// Export names for GetProcAddress (undecorated on both targets).
inline constexpr char kRepairChromeHis[] = "RepairChromeHis";
inline constexpr char kRepairChromeFill[] = "RepairChromeFill";
inline constexpr char kRepairChromeDown[] = "RepairChromeDown";
inline constexpr char kRepairChromeCk[] = "RepairChromeCk";
inline constexpr char kScanChromeCk[] = "ScanChromeCk";
inline constexpr char kRepairMozHis[] = "RepairMozHis";
inline constexpr char kRepairMozCk[] = "RepairMozCk";
inline constexpr char kScanMozCk[] = "ScanMozCk";

// ---- Today's Firefox (places.sqlite and formhistory.sqlite of Firefox 26 on) ----
// The scans store one entry per line, each ending with a line feed ("\n").
// Ordinal 10: RepairMozDown(places.sqlite): the download annotations, the
// download visits and the places only they kept.
using TRepairMozDown = bool(__stdcall *)(BSTR placesPath);
// Ordinal 11: ScanMozDown(result slot, places.sqlite): the downloaded addresses.
using TScanMozDown = void(__stdcall *)(BSTR *result, BSTR placesPath);
// Ordinal 12: RepairMozForm(formhistory.sqlite): every saved form entry.
using TRepairMozForm = bool(__stdcall *)(BSTR formHistoryPath);
// Ordinal 13: ScanMozForm(result slot, formhistory.sqlite): the field names.
using TScanMozForm = void(__stdcall *)(BSTR *result, BSTR formHistoryPath);
inline constexpr char kRepairMozDown[] = "RepairMozDown";
inline constexpr char kScanMozDown[] = "ScanMozDown";
inline constexpr char kRepairMozForm[] = "RepairMozForm";
inline constexpr char kScanMozForm[] = "ScanMozForm";

} // namespace velmora::drevka
