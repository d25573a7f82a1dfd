// Firefox traces: the plain files of Firefox 2 profiles, the databases of
// Firefox 3 profiles (cookies.sqlite and places.sqlite are cleaned row by
// row through Drevka.dll, never deleted) and the local cache folders.
// Only the first profile, "Profile0" of profiles.ini, is looked at.
#include "privacy/DrevkaBinding.h"
#include "privacy/PrivacyScanner.h"
#include "privacy/ScannerDetail.h"

#include "base/FolderEntries.h"
#include "settings/ConfigFile.h"
#include "system/Routines.h"

namespace velmora {

using privacy::Caption60;

namespace {

bool HasParentStep(const std::wstring &path) {
  size_t start = 0;
  for (;;) {
    const size_t end = path.find_first_of(L"\\/", start);
    if (path.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start) == L"..")
      return true;
    if (end == std::wstring::npos)
      return false;
    start = end + 1;
  }
}

bool IsAbsolute(const std::wstring &path) {
  const bool drive = path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
  return drive || path.starts_with(L"\\\\");
}

} // namespace

std::wstring FirefoxProfileFolder(const std::wstring &firefoxFolder) {
  const TConfigFile ini(firefoxFolder + L"\\profiles.ini");
  const std::wstring path = ini.ReadString(L"Profile0", L"Path", std::wstring());
  // Never a way out of the folder it names.
  if (HasParentStep(path))
    return {};
  if (ini.ReadString(L"Profile0", L"IsRelative", L"1") == L"0") {
    // An absolute path, taken only when it holds a Firefox profile.
    if (!IsAbsolute(path) || !FolderExists(path))
      return {};
    for (const wchar_t *file : {L"\\prefs.js", L"\\places.sqlite", L"\\cookies.sqlite"})
      if (FileExists(path + file))
        return path;
    return {};
  }
  // Relative to the Firefox folder: no drive, no root, no server.
  if (path.find(L':') != std::wstring::npos || path.starts_with(L"\\") || path.starts_with(L"/"))
    return {};
  return firefoxFolder + L"\\" + path;
}

void TPrivacyScanner::CollectFirefox(const std::wstring &categoryKey, ITextLabel &progressLabel) {
  if (Cancelled)
    return;
  const std::wstring roaming = Locations.AppDataPath;
  const std::wstring local = Locations.FolderOfKind(fkLocalAppData);
  // Without a roaming folder the paths below would name the current drive's root.
  if (roaming.empty() || !FolderExists(roaming + L"\\Mozilla") ||
      !FolderExists(roaming + L"\\Mozilla\\Firefox"))
    return;
  const std::wstring firefoxFolder = roaming + L"\\Mozilla\\Firefox";
  const std::wstring profile = FirefoxProfileFolder(firefoxFolder);
  if (profile.empty())
    return;
  // A relative profile keeps its cache under the local application data;
  // an absolute one keeps it in the profile folder itself, as Firefox does.
  const std::wstring localProfile =
      profile.starts_with(firefoxFolder + L"\\")
          ? local + L"\\Mozilla\\Firefox\\" + profile.substr(firefoxFolder.size() + 1)
          : profile;

  // An old-format file that Firefox holds open is passed over.
  auto recordUnlessInUse = [this](const std::wstring &path) {
    if (FileExists(path) && !IsFileInUse(path))
      CollectPath(path);
  };

  if (categoryKey == L"Cookie") {
    progressLabel.SetCaption(L"cookies.txt");
    if (FileExists(profile + L"\\cookies.txt"))
      CollectPath(profile + L"\\cookies.txt");
    progressLabel.SetCaption(L"cookies.sqlite");
    const std::wstring cookiesDb = profile + L"\\cookies.sqlite";
    if (FileExists(cookiesDb)) {
      FirefoxCookieDb = cookiesDb;
      try {
        ListFirefoxCookies(cookiesDb);
      } catch (...) {
        // A listing that fails lists nothing; the cleaning still repairs.
      }
      FirefoxCookiesFound = true;
    }
  } else if (categoryKey == L"Download History") {
    progressLabel.SetCaption(L"downloads.rdf");
    recordUnlessInUse(profile + L"\\downloads.rdf");
    if (FirefoxRunning)
      return;
    progressLabel.SetCaption(L"downloads.sqlite");
    if (FileExists(profile + L"\\downloads.sqlite"))
      CollectPath(profile + L"\\downloads.sqlite");
  } else if (categoryKey == L"History") {
    progressLabel.SetCaption(Caption60(profile + L"\\history.dat"));
    recordUnlessInUse(profile + L"\\history.dat");
    const std::wstring placesDb = profile + L"\\places.sqlite";
    progressLabel.SetCaption(Caption60(placesDb));
    if (FileExists(placesDb)) {
      FirefoxHistoryDb = placesDb;
      FirefoxHistoryFound = true;
    }
  } else if (categoryKey == L"Saved Form") {
    progressLabel.SetCaption(Caption60(profile + L"\\formhistory.dat"));
    recordUnlessInUse(profile + L"\\formhistory.dat");
    if (FirefoxRunning)
      return;
    progressLabel.SetCaption(Caption60(profile + L"\\formhistory.sqlite"));
    if (FileExists(profile + L"\\formhistory.sqlite"))
      CollectPath(profile + L"\\formhistory.sqlite");
  } else if (categoryKey == L"Cache") {
    if (FirefoxRunning || local.empty())
      return;
    progressLabel.SetCaption(Caption60(local));
    CollectFolder(localProfile + L"\\Cache");
    CollectFolder(localProfile + L"\\OfflineCache");
  }
}

void TPrivacyScanner::RecordCookieHosts(const std::wstring &hostList, const wchar_t *prefix) {
  if (hostList.empty())
    return;
  ++ItemCount; // the whole database is one item
  size_t start = 0;
  // Every host ends with ';'; text after the last one is not a host.
  for (size_t end; (end = hostList.find(L';', start)) != std::wstring::npos; start = end + 1) {
    std::wstring host = hostList.substr(start, end - start);
    if (!host.empty() && host[0] == L'.')
      host.erase(0, 1);
    DetailLines.push_back(prefix + host);
    Targets.push_back(prefix + host);
  }
}

void TPrivacyScanner::ListFirefoxCookies(const std::wstring &cookiesDb) {
  const auto hosts = privacy::CallDrevkaScan<drevka::TScanMozCk>(drevka::kScanMozCk, cookiesDb);
  if (hosts)
    RecordCookieHosts(*hosts, privacy::kFirefoxCookiePrefix);
}

bool TPrivacyScanner::RepairFirefoxCookies(const std::wstring &cookiesDb) {
  return privacy::CallDrevkaRepair<drevka::TRepairMozCk>(drevka::kRepairMozCk, cookiesDb);
}

bool TPrivacyScanner::RepairFirefoxHistory(const std::wstring &placesDb) {
  return privacy::CallDrevkaRepair<drevka::TRepairMozHis>(drevka::kRepairMozHis, placesDb);
}

} // namespace velmora
