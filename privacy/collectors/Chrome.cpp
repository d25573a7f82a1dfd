// Chrome traces of the profile "Default". The cookies, history, downloads
// and form data live in SQLite databases that are cleaned row by row through
// Drevka.dll; only the Archived History, the history index files and the
// cache folder's entries are deleted as files.
#include "privacy/DrevkaBinding.h"
#include "privacy/PrivacyScanner.h"
#include "privacy/ScannerDetail.h"

#include "base/FolderEntries.h"

namespace velmora {

using privacy::Caption60;

void TPrivacyScanner::CollectChrome(const std::wstring &categoryKey, ITextLabel &progressLabel) {
  if (Cancelled)
    return;
  const std::wstring local = Locations.FolderOfKind(fkLocalAppData);
  if (local.empty())
    return;
  const std::wstring profile = local + L"\\Google\\Chrome\\User Data\\Default";
  if (!FolderExists(profile))
    return;
  const std::wstring cookiesDb = profile + L"\\Cookies";
  const std::wstring historyDb = profile + L"\\History";
  const std::wstring webDataDb = profile + L"\\Web Data";

  if (categoryKey == L"Cookie") {
    // Also while Chrome runs: the hosts are listed, the repair is tried.
    progressLabel.SetCaption(L"Cookies");
    if (FileExists(cookiesDb)) {
      ChromeCookieDb = cookiesDb;
      try {
        ListChromeCookies(cookiesDb);
      } catch (...) {
        // A listing that fails lists nothing; the analysis goes on.
      }
      ChromeCookiesFound = true;
    }
  } else if (categoryKey == L"Download History") {
    if (ChromeRunning)
      return;
    progressLabel.SetCaption(L"History");
    if (FileExists(historyDb)) {
      ChromeDownloadDb = historyDb;
      ChromeDownloadsFound = true;
    }
  } else if (categoryKey == L"History") {
    if (ChromeRunning)
      return;
    ChromeBookmarksFile = profile + L"\\Bookmarks";
    ChromeThumbnailsDb = profile + L"\\Thumbnails";
    const std::wstring archived = profile + L"\\Archived History";
    progressLabel.SetCaption(Caption60(archived));
    if (FileExists(archived))
      CollectPath(archived);
    CollectHistoryIndex(profile);
    progressLabel.SetCaption(L"History");
    if (FileExists(historyDb)) {
      ChromeHistoryDb = historyDb;
      ChromeHistoryFound = true;
    }
  } else if (categoryKey == L"Saved Form") {
    if (ChromeRunning)
      return;
    progressLabel.SetCaption(L"Web Data");
    if (FileExists(webDataDb)) {
      ChromeWebDataDb = webDataDb;
      ChromeFormsFound = true;
    }
  } else if (categoryKey == L"Cache") {
    if (ChromeRunning)
      return;
    progressLabel.SetCaption(Caption60(local));
    CollectFolder(profile + L"\\Cache");
  }
}

void TPrivacyScanner::ListChromeCookies(const std::wstring &cookiesDb) {
  const auto hosts =
      privacy::CallDrevkaScan<drevka::TScanChromeCk>(drevka::kScanChromeCk, cookiesDb);
  if (hosts)
    RecordCookieHosts(*hosts, privacy::kChromeCookiePrefix);
}

bool TPrivacyScanner::RepairChromeCookies(const std::wstring &cookiesDb) {
  return privacy::CallDrevkaRepair<drevka::TRepairChromeCk>(drevka::kRepairChromeCk, cookiesDb);
}

bool TPrivacyScanner::RepairChromeDownloads(const std::wstring &historyDb) {
  return privacy::CallDrevkaRepair<drevka::TRepairChromeDown>(drevka::kRepairChromeDown, historyDb);
}

bool TPrivacyScanner::RepairChromeForms(const std::wstring &webDataDb) {
  return privacy::CallDrevkaRepair<drevka::TRepairChromeFill>(drevka::kRepairChromeFill, webDataDb);
}

bool TPrivacyScanner::RepairChromeHistory(const std::wstring &bookmarksFile,
                                          const std::wstring &historyDb,
                                          const std::wstring &thumbnailsDb) {
  const privacy::TDrevkaModule library;
  const auto repair = library.Export<drevka::TRepairChromeHis>(drevka::kRepairChromeHis);
  if (!repair)
    return false;
  const privacy::TBstr bookmarks(bookmarksFile), history(historyDb), thumbnails(thumbnailsDb);
  return repair(bookmarks.Get(), history.Get(), thumbnails.Get());
}

} // namespace velmora
