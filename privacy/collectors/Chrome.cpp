// Chrome traces: every profile, through the Chromium collector; the
// "Default" profile's databases fill the Chrome fields of the scanner and
// are cleaned by the repairs below.
#include "privacy/DrevkaBinding.h"
#include "privacy/PrivacyScanner.h"
#include "privacy/ScannerDetail.h"
#include "privacy/collectors/ChromiumBrowsers.h"

#include "base/FolderEntries.h"

namespace velmora {

void TPrivacyScanner::CollectChrome(const std::wstring &categoryKey, ITextLabel &progressLabel) {
  CollectChromium(privacy::kChrome, categoryKey, progressLabel);
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
