// Traces of the Chromium browsers in every profile. The cookies, history,
// downloads, form data, Top Sites and Shortcuts live in SQLite databases
// that are cleaned row by row through Drevka.dll; the other history files
// and the caches are deleted as files. Passwords (Login Data), addresses,
// cards and bookmarks are never touched, nor is a database's journal or
// write-ahead log on its own: SQLite itself settles them with the repair.
#include "privacy/DrevkaBinding.h"
#include "privacy/PrivacyScanner.h"
#include "privacy/ScannerDetail.h"
#include "privacy/collectors/ChromiumBrowsers.h"

#include "base/FolderEntries.h"
#include "base/Text.h"

namespace velmora {

using privacy::Caption60;
using privacy::TChromiumBrowser;
using privacy::TChromiumProfile;

void TPrivacyScanner::CollectEdge(const std::wstring &categoryKey, ITextLabel &progressLabel) {
  CollectChromium(privacy::kEdge, categoryKey, progressLabel);
}

void TPrivacyScanner::CollectBrave(const std::wstring &categoryKey, ITextLabel &progressLabel) {
  CollectChromium(privacy::kBrave, categoryKey, progressLabel);
}

void TPrivacyScanner::CollectVivaldi(const std::wstring &categoryKey, ITextLabel &progressLabel) {
  CollectChromium(privacy::kVivaldi, categoryKey, progressLabel);
}

void TPrivacyScanner::CollectChromium(const TChromiumBrowser &browser,
                                      const std::wstring &categoryKey, ITextLabel &progressLabel) {
  if (Cancelled)
    return;
  const std::vector<std::wstring> folders = ChromiumBrowserFolders(browser, Locations);
  if (folders.empty() || !FolderExists(folders[0]))
    return; // not installed: one look at one folder
  std::vector<TChromiumProfile> profiles;
  if (browser.RootIsProfile) {
    TChromiumProfile profile;
    profile.Folder = folders[0];
    profile.CacheFolder = folders.size() > 1 ? folders[1] : std::wstring();
    profile.IsDefault = true;
    profiles.push_back(profile);
  } else {
    profiles = privacy::FindChromiumProfiles(folders[0]);
  }
  for (const TChromiumProfile &profile : profiles) {
    if (Cancelled)
      return;
    CollectChromiumProfile(browser, profile, categoryKey, progressLabel);
  }
}

void TPrivacyScanner::CollectChromiumProfile(const TChromiumBrowser &browser,
                                             const TChromiumProfile &profile,
                                             const std::wstring &categoryKey,
                                             ITextLabel &progressLabel) {
  const std::wstring &folder = profile.Folder;
  const bool isChrome = &browser == &privacy::kChrome;
  // Chrome's "Default" profile keeps the Chrome fields of the scanner.
  const bool chromeDefault = isChrome && profile.IsDefault;
  bool running = isChrome ? ChromeRunning : false;
  if (!isChrome)
    for (const std::wstring &process : RunningBrowsers)
      running = running || SameText(process, browser.Process);
  const std::wstring historyDb = folder + L"\\History";
  const std::wstring bookmarks = folder + L"\\Bookmarks";
  auto remember = [&](TChromiumRepair kind, const std::wstring &database,
                      const std::wstring &icons = std::wstring()) {
    ChromiumDatabases.push_back({kind, browser.Process, database, bookmarks, icons});
  };

  if (categoryKey == L"Cookie") {
    // Also while the browser runs: the hosts are listed, the repair is tried.
    progressLabel.SetCaption(L"Cookies");
    // Chrome 96 moved the database into "Network".
    std::wstring cookiesDb = folder + L"\\Network\\Cookies";
    if (!FileExists(cookiesDb))
      cookiesDb = folder + L"\\Cookies";
    if (!FileExists(cookiesDb))
      return;
    try {
      const auto hosts =
          privacy::CallDrevkaScan<drevka::TScanChromeCk>(drevka::kScanChromeCk, cookiesDb);
      if (hosts)
        RecordCookieHosts(*hosts, ChromiumCookiePrefix(browser, profile).c_str());
    } catch (...) {
      // A listing that fails lists nothing; the analysis goes on.
    }
    if (chromeDefault) {
      ChromeCookieDb = cookiesDb;
      ChromeCookiesFound = true;
    } else {
      remember(TChromiumRepair::Cookies, cookiesDb);
    }
  } else if (categoryKey == L"Download History") {
    if (running)
      return;
    progressLabel.SetCaption(L"History");
    if (!FileExists(historyDb))
      return;
    if (chromeDefault) {
      ChromeDownloadDb = historyDb;
      ChromeDownloadsFound = true;
    } else {
      remember(TChromiumRepair::Downloads, historyDb);
    }
  } else if (categoryKey == L"History") {
    if (running)
      return;
    // Today's icons are in Favicons; old profiles kept them in Thumbnails.
    std::wstring icons = folder + L"\\Thumbnails";
    if (!FileExists(icons) && FileExists(folder + L"\\Favicons"))
      icons = folder + L"\\Favicons";
    if (chromeDefault) {
      ChromeBookmarksFile = bookmarks;
      ChromeThumbnailsDb = icons;
    }
    const std::wstring archived = folder + L"\\Archived History";
    progressLabel.SetCaption(Caption60(archived));
    if (FileExists(archived))
      CollectPath(archived);
    CollectHistoryIndex(folder);
    for (const wchar_t *name : {L"\\Visited Links", L"\\Current Session", L"\\Current Tabs",
                                L"\\Last Session", L"\\Last Tabs"})
      if (FileExists(folder + name))
        CollectPath(folder + name);
    CollectTree(folder + L"\\Sessions");
    progressLabel.SetCaption(L"History");
    if (FileExists(historyDb)) {
      if (chromeDefault) {
        ChromeHistoryDb = historyDb;
        ChromeHistoryFound = true;
      } else {
        // The icons go with the history only when they are there: a
        // missing database is never made.
        remember(TChromiumRepair::History, historyDb, FileExists(icons) ? icons : std::wstring());
      }
    }
    for (const wchar_t *name : {L"\\Top Sites", L"\\Shortcuts"})
      if (FileExists(folder + name))
        remember(TChromiumRepair::Pages, folder + name);
  } else if (categoryKey == L"Saved Form") {
    if (running)
      return;
    progressLabel.SetCaption(L"Web Data");
    const std::wstring webDataDb = folder + L"\\Web Data";
    if (!FileExists(webDataDb))
      return;
    if (chromeDefault) {
      ChromeWebDataDb = webDataDb;
      ChromeFormsFound = true;
    } else {
      remember(TChromiumRepair::Forms, webDataDb);
    }
  } else if (categoryKey == L"Cache") {
    if (running || profile.CacheFolder.empty())
      return;
    const std::wstring &caches = profile.CacheFolder;
    progressLabel.SetCaption(Caption60(caches));
    // Today's HTTP cache is the tree of Cache\Cache_Data; before it, the
    // cache files lay in Cache itself.
    if (FolderExists(caches + L"\\Cache\\Cache_Data"))
      CollectTree(caches + L"\\Cache\\Cache_Data");
    else
      CollectFolder(caches + L"\\Cache");
    CollectTree(caches + L"\\Code Cache");
    CollectTree(caches + L"\\GPUCache");
  }
}

bool TPrivacyScanner::RepairChromiumDatabase(const TChromiumDatabase &database) {
  using namespace privacy;
  switch (database.Kind) {
  case TChromiumRepair::Cookies:
    return CallDrevkaRepair<drevka::TRepairChromeCk>(drevka::kRepairChromeCk, database.Database);
  case TChromiumRepair::Downloads:
    return CallDrevkaRepair<drevka::TRepairChromeDown>(drevka::kRepairChromeDown,
                                                       database.Database);
  case TChromiumRepair::Forms:
    return CallDrevkaRepair<drevka::TRepairChromeFill>(drevka::kRepairChromeFill,
                                                       database.Database);
  case TChromiumRepair::History:
    return RepairChromeHistory(database.Bookmarks, database.Database, database.Icons);
  case TChromiumRepair::Pages: {
    const TDrevkaModule library;
    const auto repair = library.Export<drevka::TRepairChromePages>(drevka::kRepairChromePages);
    if (!repair)
      return false;
    const TBstr bookmarks(database.Bookmarks), path(database.Database);
    return repair(bookmarks.Get(), path.Get());
  }
  }
  return false;
}

void TPrivacyScanner::RepairChromiumDatabases(const std::vector<std::wstring> &processes) {
  for (const TChromiumDatabase &database : ChromiumDatabases) {
    bool running = false;
    for (const std::wstring &process : processes)
      running = running || SameText(process, database.Process);
    // As with Chrome: the cookies are tried while the browser runs, the
    // rest waits until it has ended.
    if (running && database.Kind != TChromiumRepair::Cookies)
      continue;
    if (!RepairChromiumDatabase(database))
      NoteProblem(TCleaningStep::ChromiumDatabase, database.Database);
  }
}

} // namespace velmora
