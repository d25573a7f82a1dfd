// Firefox traces, in every profile that profiles.ini lists: the plain files
// of Firefox 2 profiles, the databases of Firefox 3 and of today's Firefox
// (cookies.sqlite, places.sqlite and formhistory.sqlite are cleaned row by
// row through Drevka.dll, never deleted), the session files and the cache
// folders of the local profile. Logins, key4.db, bookmarks, permissions and
// extensions are never looked at.
#include "privacy/DrevkaBinding.h"
#include "privacy/PrivacyScanner.h"
#include "privacy/ScannerDetail.h"

#include "base/FolderEntries.h"
#include "base/Handles.h"
#include "base/Text.h"
#include "settings/ConfigFile.h"
#include "system/Routines.h"

#include <windows.h>

#include <algorithm>

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

// The folder one [ProfileN] section of profiles.ini names (see
// FirefoxProfileFolder).
std::wstring ProfileFolderOf(const TConfigFile &ini, const std::wstring &firefoxFolder,
                             const std::wstring &section) {
  const std::wstring path = ini.ReadString(section, L"Path", std::wstring());
  // Never a way out of the folder it names.
  if (HasParentStep(path))
    return {};
  if (ini.ReadString(section, L"IsRelative", L"1") == L"0") {
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

// The section names of an ini file (GetPrivateProfileStringW without a
// section lists them).
std::vector<std::wstring> SectionNames(const std::wstring &iniPath) {
  std::vector<wchar_t> buffer(32768);
  const DWORD n = ::GetPrivateProfileStringW(nullptr, nullptr, L"", buffer.data(),
                                             static_cast<DWORD>(buffer.size()), iniPath.c_str());
  std::vector<std::wstring> names;
  for (DWORD i = 0; i < n && buffer[i];) {
    names.emplace_back(&buffer[i]);
    i += static_cast<DWORD>(names.back().size()) + 1;
  }
  return names;
}

// A profile path as profiles.ini and installs.ini write it, for comparing.
std::wstring ComparablePath(std::wstring path) {
  for (wchar_t &c : path)
    if (c == L'/')
      c = L'\\';
  return UpperCase(path);
}

// The profile paths that an install names as its default: [<install>] of
// installs.ini and [Install<install>] of profiles.ini.
std::vector<std::wstring> InstallDefaults(const std::wstring &firefoxFolder) {
  std::vector<std::wstring> defaults;
  const std::wstring installs = firefoxFolder + L"\\installs.ini";
  if (FileExists(installs)) {
    const TConfigFile ini(installs);
    for (const std::wstring &section : SectionNames(installs))
      defaults.push_back(ComparablePath(ini.ReadString(section, L"Default", std::wstring())));
  }
  const std::wstring profiles = firefoxFolder + L"\\profiles.ini";
  const TConfigFile ini(profiles);
  for (const std::wstring &section : SectionNames(profiles))
    if (section.size() > 7 && SameText(section.substr(0, 7), L"Install"))
      defaults.push_back(ComparablePath(ini.ReadString(section, L"Default", std::wstring())));
  std::erase(defaults, std::wstring());
  return defaults;
}

bool IsSQLiteDatabase(const std::wstring &path) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
  char header[16] = {};
  DWORD read = 0;
  return file && ::ReadFile(file.Get(), header, sizeof header, &read, nullptr) &&
         read == sizeof header &&
         std::string(header, sizeof header) == std::string("SQLite format 3\0", 16);
}

} // namespace

std::wstring FirefoxProfileFolder(const std::wstring &firefoxFolder) {
  return ProfileFolderOf(TConfigFile(firefoxFolder + L"\\profiles.ini"), firefoxFolder,
                         L"Profile0");
}

std::vector<TFirefoxProfile> FirefoxProfiles(const std::wstring &firefoxFolder,
                                             const std::wstring &localFirefoxFolder) {
  const TConfigFile ini(firefoxFolder + L"\\profiles.ini");
  struct TListed {
    std::wstring section, path;
  };
  std::vector<TListed> listed;
  // As Firefox reads it: Profile0, Profile1, ... up to the first one missing.
  // Without a Profile0 the profile folder is the Firefox folder itself.
  for (int n = 0;; ++n) {
    const std::wstring section = L"Profile" + std::to_wstring(n);
    if (n > 0 && !ini.SectionExists(section))
      break;
    listed.push_back({section, ini.ReadString(section, L"Path", std::wstring())});
    if (n == 0 && !ini.SectionExists(section))
      break;
  }
  // The default: what an install names, else Default=1, else Profile0.
  const std::vector<std::wstring> installDefaults = InstallDefaults(firefoxFolder);
  auto isDefault = [&](const TListed &p) {
    if (!installDefaults.empty())
      return std::find(installDefaults.begin(), installDefaults.end(), ComparablePath(p.path)) !=
             installDefaults.end();
    for (const TListed &q : listed)
      if (ini.ReadString(q.section, L"Default", std::wstring()) == L"1")
        return &q == &p;
    return &p == &listed.front();
  };

  std::vector<TFirefoxProfile> profiles;
  for (const TListed &p : listed) {
    TFirefoxProfile profile;
    profile.Folder = ProfileFolderOf(ini, firefoxFolder, p.section);
    if (profile.Folder.empty())
      continue;
    // Two sections naming one folder give one profile.
    bool seen = false;
    for (const TFirefoxProfile &other : profiles)
      seen = seen || SameText(ComparablePath(other.Folder), ComparablePath(profile.Folder));
    if (seen)
      continue;
    profile.Name = ini.ReadString(p.section, L"Name", std::wstring());
    if (profile.Name.empty())
      profile.Name = profile.Folder.substr(profile.Folder.find_last_of(L"\\/") + 1);
    profile.IsDefault = isDefault(p);
    // A relative profile keeps its cache under the local application data;
    // an absolute one keeps it in the profile folder itself, as Firefox does.
    profile.LocalFolder =
        profile.Folder.starts_with(firefoxFolder + L"\\") && !localFirefoxFolder.empty()
            ? localFirefoxFolder + L"\\" + profile.Folder.substr(firefoxFolder.size() + 1)
            : profile.Folder;
    profiles.push_back(profile);
  }
  return profiles;
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
  for (const TFirefoxProfile &profile : FirefoxProfiles(
           firefoxFolder, local.empty() ? std::wstring() : local + L"\\Mozilla\\Firefox")) {
    if (Cancelled)
      return;
    if (std::find(FirefoxProfileFolders.begin(), FirefoxProfileFolders.end(), profile.Folder) ==
        FirefoxProfileFolders.end())
      FirefoxProfileFolders.push_back(profile.Folder);
    CollectFirefoxProfile(categoryKey, profile, local.empty(), progressLabel);
  }
}

void TPrivacyScanner::CollectFirefoxProfile(const std::wstring &categoryKey,
                                            const TFirefoxProfile &firefoxProfile, bool noLocal,
                                            ITextLabel &progressLabel) {
  const std::wstring &profile = firefoxProfile.Folder;
  const std::wstring &localProfile = firefoxProfile.LocalFolder;
  // The display lines of a profile that is not the default name it.
  const std::wstring browser = firefoxProfile.IsDefault ? privacy::kFirefoxName
                                                        : std::wstring(privacy::kFirefoxName) +
                                                              L" (" + firefoxProfile.Name + L")";

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
      if (FirefoxCookieDb.empty())
        FirefoxCookieDb = cookiesDb;
      FirefoxCookieDbs.push_back(cookiesDb);
      try {
        const auto hosts =
            privacy::CallDrevkaScan<drevka::TScanMozCk>(drevka::kScanMozCk, cookiesDb);
        if (hosts)
          RecordCookieHosts(*hosts, (browser + privacy::kCookieWord).c_str());
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
    // Today's downloads: annotations of places.sqlite.
    const std::wstring placesDb = profile + L"\\places.sqlite";
    if (IsSQLiteDatabase(placesDb)) {
      progressLabel.SetCaption(Caption60(placesDb));
      const auto urls =
          privacy::CallDrevkaScan<drevka::TScanMozDown>(drevka::kScanMozDown, placesDb);
      if (urls && !urls->empty()) {
        FirefoxDownloadDbs.push_back(placesDb);
        RecordEntryLines(*urls, L'\n', browser + privacy::kDownloadWord);
      }
    }
  } else if (categoryKey == L"History") {
    progressLabel.SetCaption(Caption60(profile + L"\\history.dat"));
    recordUnlessInUse(profile + L"\\history.dat");
    const std::wstring placesDb = profile + L"\\places.sqlite";
    progressLabel.SetCaption(Caption60(placesDb));
    if (FileExists(placesDb)) {
      if (FirefoxHistoryDb.empty())
        FirefoxHistoryDb = placesDb;
      FirefoxHistoryDbs.push_back(placesDb);
      FirefoxHistoryFound = true;
    }
    // The open tabs and their form data, written while Firefox runs.
    if (FirefoxRunning)
      return;
    CollectPath(profile + L"\\sessionstore.jsonlz4");
    CollectTree(profile + L"\\sessionstore-backups");
  } else if (categoryKey == L"Saved Form") {
    progressLabel.SetCaption(Caption60(profile + L"\\formhistory.dat"));
    recordUnlessInUse(profile + L"\\formhistory.dat");
    if (FirefoxRunning)
      return;
    const std::wstring formsDb = profile + L"\\formhistory.sqlite";
    progressLabel.SetCaption(Caption60(formsDb));
    if (!FileExists(formsDb))
      return;
    if (!IsSQLiteDatabase(formsDb)) {
      // Not a database Drevka can clean row by row: the file itself.
      CollectPath(formsDb);
      return;
    }
    FirefoxFormDbs.push_back(formsDb);
    const auto fields =
        privacy::CallDrevkaScan<drevka::TScanMozForm>(drevka::kScanMozForm, formsDb);
    if (fields)
      RecordEntryLines(*fields, L'\n', browser + privacy::kFormWord);
  } else if (categoryKey == L"Cache") {
    if (FirefoxRunning || noLocal)
      return;
    progressLabel.SetCaption(Caption60(localProfile));
    CollectFolder(localProfile + L"\\Cache");
    CollectFolder(localProfile + L"\\OfflineCache");
    // Today's caches.
    CollectTree(localProfile + L"\\cache2");
    CollectTree(localProfile + L"\\startupCache");
    CollectTree(localProfile + L"\\thumbnails");
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

void TPrivacyScanner::RecordEntryLines(const std::wstring &entries, wchar_t separator,
                                       const std::wstring &prefix) {
  if (entries.empty())
    return;
  ++ItemCount; // the whole database is one item
  size_t start = 0;
  for (size_t end; (end = entries.find(separator, start)) != std::wstring::npos; start = end + 1) {
    DetailLines.push_back(prefix + entries.substr(start, end - start));
    Targets.push_back(DetailLines.back());
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

bool TPrivacyScanner::RepairFirefoxDownloads(const std::wstring &placesDb) {
  return privacy::CallDrevkaRepair<drevka::TRepairMozDown>(drevka::kRepairMozDown, placesDb);
}

bool TPrivacyScanner::RepairFirefoxForms(const std::wstring &formHistoryDb) {
  return privacy::CallDrevkaRepair<drevka::TRepairMozForm>(drevka::kRepairMozForm, formHistoryDb);
}

} // namespace velmora
