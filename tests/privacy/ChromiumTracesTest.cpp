// The Chromium browsers of today (Chrome, Edge, Brave, Vivaldi, Opera) on
// planted profiles in their current layout: the analysis over every
// profile, the cleaning, a running browser, and the profile list of Local
// State.
#include "BrowserProfiles.h"

#include "Fixtures.h"

#include "base/FolderEntries.h"
#include "base/Text.h"
#include "privacy/collectors/ChromiumBrowsers.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

using Lines = std::vector<std::wstring>;
using Ids = std::vector<std::string>;

std::wstring Selection57(std::initializer_list<int> positions) {
  std::wstring s(57, L'0');
  for (int p : positions)
    s[p - 1] = L'1';
  return s;
}

// One planted profile: its folder below the browser's root and the name
// its report lines carry (empty for the default profile).
struct TPlantedProfile {
  std::wstring Folder; // relative to the root; empty: the root itself (Opera)
  std::wstring Name;
  std::vector<const char *> Hosts;
};

struct TBrowserCase {
  const char *Label;
  const privacy::TChromiumBrowser *Browser;
  int First; // its first catalogue row (Cookie); Opera has three rows
  std::string LocalState;
  std::vector<TPlantedProfile> Profiles;
};

const std::vector<TBrowserCase> &Cases() {
  static const std::vector<TBrowserCase> cases = {
      {"Chrome",
       &privacy::kChrome,
       12,
       R"({"profile":{"info_cache":{"Default":{"name":"Person 1"},)"
       R"("Profile 1":{"name":"Work/Home \\ x\n"}},"last_used":"Default"}})",
       {{L"Default", L"", {".google.com", "mail.example"}},
        {L"Profile 1", L"Work/Home \\ x", {"intranet.example"}}}},
      {"Edge",
       &privacy::kEdge,
       43,
       R"({"profile":{"info_cache":{"Travel Folder":{"name":"Travel"},"Default":{}}}})",
       {{L"Default", L"", {".bing.com"}}, {L"Travel Folder", L"Travel", {"booking.example"}}}},
      {"Brave", &privacy::kBrave, 48, "", {{L"Default", L"", {"search.brave.com"}}}},
      // No Local State: the folder's own name is shown.
      {"Vivaldi", &privacy::kVivaldi, 53, "", {{L"Profile 3", L"Profile 3", {".vivaldi.net"}}}},
      {"Opera", &privacy::kOpera, 17, "", {{L"", L"", {".opera.com"}}}},
  };
  return cases;
}

class ChromiumTest : public BrowserTest {
protected:
  ChromiumTest() {
    for (const std::wstring &folder :
         {local + L"\\Microsoft\\Edge", local + L"\\BraveSoftware", local + L"\\Vivaldi",
          roaming + L"\\Opera Software", local + L"\\Opera Software"})
      OwnPath(folder);
  }

  std::wstring Root(const TBrowserCase &c) const {
    return (c.Browser->RootKind == fkAppData ? roaming : local) + L"\\" + c.Browser->Root;
  }
  std::wstring Folder(const TBrowserCase &c, const TPlantedProfile &p) const {
    return p.Folder.empty() ? Root(c) : Root(c) + L"\\" + p.Folder;
  }
  std::wstring CacheFolder(const TBrowserCase &c, const TPlantedProfile &p) const {
    return c.Browser->RootIsProfile ? local + L"\\" + c.Browser->Root : Folder(c, p);
  }

  // A profile as a current browser leaves it, with the secrets that stay.
  void PlantProfile(const TBrowserCase &c, const TPlantedProfile &p) {
    const std::wstring folder = Folder(c, p), caches = CacheFolder(c, p);
    MakeFolders(folder + L"\\Network");
    WriteFileBytes(folder + L"\\Preferences", "{}");
    MakeChromiumCookies(folder + L"\\Network\\Cookies", TChromiumSchema::Current, p.Hosts);
    MakeChromiumHistory(folder + L"\\History", TChromiumSchema::Current);
    MakeChromiumFavicons(folder + L"\\Favicons", TChromiumSchema::Current);
    MakeChromiumTopSites(folder + L"\\Top Sites", TChromiumSchema::Current);
    MakeChromiumShortcuts(folder + L"\\Shortcuts");
    MakeChromiumWebData(folder + L"\\Web Data", TChromiumSchema::Current);
    MakeChromiumLoginData(folder + L"\\Login Data", TChromiumSchema::Current);
    WriteFileBytes(folder + L"\\Bookmarks", ChromiumBookmarks());
    WriteFileBytes(folder + L"\\Visited Links", std::string(31, 'v'));
    WriteFileBytes(folder + L"\\Sessions\\Session_13300000000000000", std::string(32, 's'));
    WriteFileBytes(caches + L"\\Cache\\Cache_Data\\data_0", std::string(33, 'c'));
    WriteFileBytes(caches + L"\\Code Cache\\js\\index", std::string(34, 'j'));
    WriteFileBytes(caches + L"\\GPUCache\\data_1", std::string(35, 'g'));
  }
  void Plant(const TBrowserCase &c) {
    if (!c.LocalState.empty())
      WriteFileBytes(Root(c) + L"\\Local State", c.LocalState);
    for (const TPlantedProfile &p : c.Profiles)
      PlantProfile(c, p);
    if (!c.Browser->RootIsProfile) {
      // Folders of the browser that are no profiles.
      WriteFileBytes(Root(c) + L"\\Crashpad\\History", std::string(36, 'n'));
      WriteFileBytes(Root(c) + L"\\System Profile\\Preferences", "{}");
      WriteFileBytes(Root(c) + L"\\System Profile\\Visited Links", std::string(37, 'n'));
    }
  }

  std::vector<int> Positions(const TBrowserCase &c) const {
    if (c.Browser->RootIsProfile)
      return {c.First, c.First + 1, c.First + 2};
    return {c.First, c.First + 1, c.First + 2, c.First + 3, c.First + 4};
  }
  std::wstring SelectionFor(const TBrowserCase &c) const {
    std::wstring s(57, L'0');
    for (int p : Positions(c))
      s[p - 1] = L'1';
    return s;
  }

  // The report lines of one browser's rows, in row order, each row over the
  // profiles in order.
  Lines Expected(const TBrowserCase &c) const {
    Lines lines;
    const bool opera = c.Browser->RootIsProfile;
    const std::vector<std::wstring> kinds =
        opera ? std::vector<std::wstring>{L"Cookie", L"History", L"Cache"}
              : std::vector<std::wstring>{L"Cookie", L"Download History", L"History", L"Saved Form",
                                          L"Cache"};
    for (const std::wstring &kind : kinds)
      for (const TPlantedProfile &p : c.Profiles) {
        const std::wstring folder = Folder(c, p), caches = CacheFolder(c, p);
        if (kind == L"Cookie") {
          const std::wstring prefix =
              std::wstring(c.Browser->Name) + (p.Name.empty() ? L"" : L" (" + p.Name + L")");
          for (const char *host : p.Hosts) {
            std::string h = host;
            if (h[0] == '.')
              h.erase(0, 1);
            lines.push_back(prefix + L" Cookie: " + std::wstring(h.begin(), h.end()));
          }
        } else if (kind == L"History") {
          lines.push_back(folder + L"\\Visited Links   31 bytes");
          lines.push_back(folder + L"\\Sessions\\Session_13300000000000000   32 bytes");
        } else if (kind == L"Cache") {
          lines.push_back(caches + L"\\Cache\\Cache_Data\\data_0   33 bytes");
          lines.push_back(caches + L"\\Code Cache\\js\\index   34 bytes");
          lines.push_back(caches + L"\\GPUCache\\data_1   35 bytes");
        }
      }
    return lines;
  }
  int ExpectedItems(const TBrowserCase &c) const {
    // Each cookie database is one item, each file one.
    return static_cast<int>(c.Profiles.size() * (1 + 2 + 3));
  }

  void Clean() { scanner.CleanCollected(progress, note, bar); }

  void ExpectCleaned(const TBrowserCase &c, const TPlantedProfile &p) {
    const std::wstring folder = Folder(c, p), caches = CacheFolder(c, p);
    const bool opera = c.Browser->RootIsProfile;
    EXPECT_EQ(Column(folder + L"\\Network\\Cookies", "select count(*) from cookies"), Ids{"0"});
    TTestDb history(folder + L"\\History");
    EXPECT_EQ(history.Column("select id from urls"), Ids{"1"}); // bookmarked
    EXPECT_EQ(history.Count("visits"), 0);
    EXPECT_EQ(history.Count("downloads"), 0);
    EXPECT_EQ(history.Count("downloads_url_chains"), 0);
    EXPECT_EQ(Column(folder + L"\\Favicons", "select page_url from icon_mapping"),
              Ids{kChromiumKeptUrl});
    EXPECT_EQ(Column(folder + L"\\Top Sites", "select url from top_sites"), Ids{kChromiumKeptUrl});
    EXPECT_EQ(Column(folder + L"\\Shortcuts", "select url from omni_box_shortcuts"),
              Ids{kChromiumKeptUrl});
    TTestDb webData(folder + L"\\Web Data");
    // Opera's rows hold no form history.
    EXPECT_EQ(webData.Count("autofill"), opera ? 2 : 0);
    EXPECT_EQ(webData.Count("credit_cards"), 1);
    EXPECT_EQ(webData.Count("addresses"), 1);
    EXPECT_EQ(Column(folder + L"\\Login Data", "select count(*) from logins"), Ids{"1"});
    EXPECT_EQ(ReadFileBytes(folder + L"\\Bookmarks"), ChromiumBookmarks());
    for (const std::wstring &gone :
         {folder + L"\\Visited Links", folder + L"\\Sessions\\Session_13300000000000000",
          caches + L"\\Cache\\Cache_Data\\data_0", caches + L"\\Code Cache\\js\\index",
          caches + L"\\GPUCache\\data_1"})
      EXPECT_FALSE(FileExists(gone)) << gone;
  }

  static Ids Column(const std::wstring &path, const std::string &sql) {
    TTestDb db(path);
    return db.Column(sql);
  }
};

TEST_F(ChromiumTest, EveryProfileOfEachBrowserIsListedWithExactLines) {
  for (const TBrowserCase &c : Cases()) {
    SCOPED_TRACE(c.Label);
    Plant(c);
    Analyze(SelectionFor(c));
    EXPECT_EQ(Details(), Expected(c));
    EXPECT_EQ(report.lines[1],
              L"Total: " + std::to_wstring(ExpectedItems(c)) + L" items to be removed");
    // Every database is remembered for the cleaning; Chrome's Default
    // profile through the Chrome fields.
    size_t databases = 0;
    for (const TPlantedProfile &p : c.Profiles) {
      const bool legacy = c.Browser == &privacy::kChrome && p.Folder == L"Default";
      const bool opera = c.Browser->RootIsProfile;
      if (legacy) {
        const std::wstring folder = Folder(c, p);
        EXPECT_EQ(scanner.ChromeCookieDb, folder + L"\\Network\\Cookies");
        EXPECT_EQ(scanner.ChromeHistoryDb, folder + L"\\History");
        EXPECT_EQ(scanner.ChromeThumbnailsDb, folder + L"\\Favicons");
        EXPECT_EQ(scanner.ChromeWebDataDb, folder + L"\\Web Data");
        databases += 2; // Top Sites, Shortcuts
      } else {
        databases += opera ? 5 : 6; // cookies, downloads, history, (forms,) two page tables
      }
    }
    EXPECT_EQ(scanner.ChromiumDatabases.size(), databases);
    for (const TChromiumDatabase &d : scanner.ChromiumDatabases) {
      EXPECT_EQ(d.Process, c.Browser->Process);
      EXPECT_TRUE(FileExists(d.Database)) << d.Database;
      if (d.Kind == TChromiumRepair::History) {
        EXPECT_EQ(d.Icons, ExtractFilePath(d.Database) + L"Favicons");
      }
    }
  }
}

TEST_F(ChromiumTest, CleaningRemovesExactlyTheTracesAndKeepsSecretsAndBookmarks) {
  std::wstring all(57, L'0');
  for (const TBrowserCase &c : Cases()) {
    Plant(c);
    for (int p : Positions(c))
      all[p - 1] = L'1';
  }
  Analyze(all);
  Clean();
  EXPECT_TRUE(scanner.CleaningProblems.empty());
  for (const TBrowserCase &c : Cases())
    for (const TPlantedProfile &p : c.Profiles) {
      SCOPED_TRACE(std::string(c.Label) + " " + std::string(p.Folder.begin(), p.Folder.end()));
      ExpectCleaned(c, p);
    }
  for (const TBrowserCase &c : Cases())
    if (!c.Browser->RootIsProfile) {
      EXPECT_TRUE(FileExists(Root(c) + L"\\Crashpad\\History"));
      EXPECT_TRUE(FileExists(Root(c) + L"\\System Profile\\Visited Links"));
    }
  Analyze(all);
  EXPECT_EQ(Details(), Lines{});
  EXPECT_EQ(report.lines[1], L"Total: 0 items to be removed");
}

TEST_F(ChromiumTest, RunningEdgeKeepsItsFilesAndDatabasesButNotItsCookies) {
  const TBrowserCase &edge = Cases()[1];
  Plant(edge);
  // Started after the analysis: the cleaning looks again.
  Analyze(SelectionFor(edge));
  TFakeProcess edgeProcess(scratch, L"msedge.exe");
  ASSERT_TRUE(edgeProcess.Started());
  Clean();
  EXPECT_TRUE(scanner.CleaningProblems.empty());
  for (const TPlantedProfile &p : edge.Profiles) {
    const std::wstring folder = Folder(edge, p);
    EXPECT_EQ(Column(folder + L"\\Network\\Cookies", "select count(*) from cookies"), Ids{"0"});
    EXPECT_EQ(Column(folder + L"\\History", "select count(*) from urls"), Ids{"3"});
    EXPECT_EQ(Column(folder + L"\\History", "select count(*) from downloads"), Ids{"1"});
    EXPECT_EQ(Column(folder + L"\\Web Data", "select count(*) from autofill"), Ids{"2"});
    EXPECT_EQ(Column(folder + L"\\Top Sites", "select count(*) from top_sites"), Ids{"2"});
    EXPECT_TRUE(FileExists(folder + L"\\Visited Links"));
    EXPECT_TRUE(FileExists(folder + L"\\Cache\\Cache_Data\\data_0"));
  }

  // Running before its rows: only the cookies are listed and remembered.
  for (const TPlantedProfile &p : edge.Profiles)
    MakeChromiumCookies(Folder(edge, p) + L"\\Network\\Cookies", TChromiumSchema::Current, p.Hosts);
  Analyze(SelectionFor(edge));
  Lines cookieLines;
  for (const std::wstring &line : Expected(edge))
    if (line.find(L" Cookie: ") != std::wstring::npos)
      cookieLines.push_back(line);
  EXPECT_EQ(Details(), cookieLines);
  EXPECT_EQ(scanner.RunningBrowsers, std::vector<std::wstring>{L"msedge.exe"});
  ASSERT_EQ(scanner.ChromiumDatabases.size(), 2u);
  for (const TChromiumDatabase &d : scanner.ChromiumDatabases)
    EXPECT_EQ(d.Kind, TChromiumRepair::Cookies);
}

TEST_F(ChromiumTest, StoredFirstVersionSelectionLeavesTheNewBrowsersOut) {
  Plant(Cases()[1]);
  Plant(Cases()[2]);
  Analyze(SelectionOf({12, 13, 14, 15, 16}));
  EXPECT_EQ(Details(), Lines{});
  EXPECT_TRUE(scanner.ChromiumDatabases.empty());
  EXPECT_EQ(bar.steps, 42);
  // Not installed: nothing, at any row.
  OwnPath(local + L"\\BraveSoftware");
  Analyze(Selection57({48, 49, 50, 51, 52}));
  EXPECT_EQ(Details(), Lines{});
}

TEST_F(ChromiumTest, HistoryWithoutIconDatabaseCreatesNone) {
  // A profile of a non-default browser with its History alone: the repair
  // makes no Favicons or Thumbnails file beside it.
  const std::wstring profile = local + L"\\BraveSoftware\\Brave-Browser\\User Data\\Default";
  MakeFolders(profile);
  MakeChromiumHistory(profile + L"\\History", TChromiumSchema::Current);
  WriteFileBytes(profile + L"\\Bookmarks", ChromiumBookmarks());
  Analyze(Selection57({50}));
  ASSERT_EQ(scanner.ChromiumDatabases.size(), 1u);
  EXPECT_EQ(scanner.ChromiumDatabases[0].Icons, L"");
  Clean();
  EXPECT_TRUE(scanner.CleaningProblems.empty());
  EXPECT_EQ(Column(profile + L"\\History", "select id from urls"), Ids{"1"});
  EXPECT_FALSE(FileExists(profile + L"\\Favicons"));
  EXPECT_FALSE(FileExists(profile + L"\\Thumbnails"));
}

TEST(ChromiumLocalState, ProfileNamesFromInfoCache) {
  using Names = std::map<std::wstring, std::wstring>;
  const struct {
    const char *json;
    Names names;
  } kCases[] = {
      {R"({"profile":{"info_cache":{"Default":{"name":"Ann"},"Profile 4":{"name":"B\u00e9a"}}}})",
       {{L"Default", L"Ann"}, {L"Profile 4", L"B\u00e9a"}}},
      // Keys that would leave the User Data folder are no profiles.
      {R"({"profile":{"info_cache":{"..":{},"a\\b":{"name":"x"},"C:":{},"ok":{"name":1}}}})",
       {{L"ok", L""}}},
      {R"({"profile":{"info_cache":[]}})", {}},
      {R"({"profile":{"info_cache":{"Default":{"name":"A"}})", {}}, // cut short
      {R"({"profile":{"info_cache":{"Default":{"name":"A"}}}} trailing)", {}},
      {"", {}},
      {"\"text\"", {}},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE(c.json);
    EXPECT_EQ(privacy::LocalStateProfileNames(FromUtf8(c.json)), c.names);
  }
  // Nesting deeper than any Local State is refused, not followed.
  std::string deep(100000, '[');
  EXPECT_TRUE(privacy::LocalStateProfileNames(FromUtf8(deep)).empty());
}

} // namespace
