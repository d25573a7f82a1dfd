// The Chrome exports of Drevka.dll on the databases of today's Chromium
// browsers (Chrome 96 and a current Chrome; Edge, Brave, Vivaldi and Opera
// share them), built from the browsers' own CREATE TABLE scripts.
#include "Fixtures.h"
#include "TestSupport.h"
#include "base/FolderEntries.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace velmora;
using namespace velmora::test;

namespace {

using Ids = std::vector<std::string>;

struct THistoryCase {
  const char *name;
  TChromiumSchema schema;
  bool withFaviconId;
};

const THistoryCase kHistoryCases[] = {
    {"Chrome96", TChromiumSchema::Chrome96, false},
    {"Chrome96WithFaviconId", TChromiumSchema::Chrome96, true},
    {"Current", TChromiumSchema::Current, false},
    {"CurrentWithFaviconId", TChromiumSchema::Current, true},
};

class ChromiumExportsTest : public ::testing::Test {
protected:
  ChromiumExportsTest() : folder_(L"drevka-chromium") {}
  std::wstring Path(const std::wstring &name) { return folder_ / name; }
  std::wstring PlantBookmarks() {
    const std::wstring path = Path(L"Bookmarks");
    WriteFileBytes(path, ChromiumBookmarks());
    return path;
  }
  TScratchFolder folder_;
};

Ids Column(const std::wstring &path, const std::string &sql) {
  TTestDb db(path);
  return db.Column(sql);
}

TEST_F(ChromiumExportsTest, HistoryRepairKeepsOnlyTheBookmarkedPageOnEverySchema) {
  for (const THistoryCase &c : kHistoryCases) {
    SCOPED_TRACE(c.name);
    const std::wstring history = Path(L"History"), favicons = Path(L"Favicons");
    MakeChromiumHistory(history, c.schema, c.withFaviconId);
    MakeChromiumFavicons(favicons, c.schema);
    ASSERT_TRUE(RepairChromeHis(PlantBookmarks(), history, favicons));

    TTestDb h(history);
    EXPECT_EQ(h.Column("select id from urls"), Ids{"1"});
    EXPECT_EQ(h.Column("select id from segments"), Ids{"1"});
    EXPECT_EQ(h.Column("select segment_id from segment_usage"), Ids{"1"});
    for (const char *table :
         {"visits", "visit_source", "keyword_search_terms", "content_annotations",
          "context_annotations", "clusters_and_visits", "clusters"})
      EXPECT_EQ(h.Count(table), 0) << table;
    if (c.schema == TChromiumSchema::Current) {
      EXPECT_EQ(h.Count("cluster_keywords"), 0);
      EXPECT_EQ(h.Count("cluster_visit_duplicates"), 0);
      EXPECT_EQ(h.Column("select link_url_id from visited_links"), Ids{"1"});
    }
    // Downloads are the download repair's business.
    EXPECT_EQ(h.Count("downloads"), 1);
    EXPECT_EQ(h.Count("downloads_url_chains"), 2);

    TTestDb f(favicons);
    EXPECT_EQ(f.Column("select id from icon_mapping"), Ids{"1"});
    EXPECT_EQ(f.Column("select id from favicons"), Ids{"1"});
    EXPECT_EQ(f.Column("select id from favicon_bitmaps"), Ids{"1"});
    // Deleted rows are overwritten, not only unlinked.
    EXPECT_EQ(ReadFileBytes(history).find("Secret Term"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(history).find("plain.example"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(favicons).find("plain.example/page"), std::string::npos);
  }
}

TEST_F(ChromiumExportsTest, HistoryRepairWithoutBookmarksEmptiesHistoryAndIcons) {
  const std::wstring history = Path(L"History"), favicons = Path(L"Favicons");
  MakeChromiumHistory(history, TChromiumSchema::Current);
  MakeChromiumFavicons(favicons, TChromiumSchema::Current);
  ASSERT_TRUE(RepairChromeHis(Path(L"Bookmarks"), history, favicons));
  TTestDb h(history);
  EXPECT_EQ(h.Count("urls"), 0);
  EXPECT_EQ(h.Count("visited_links"), 0);
  EXPECT_EQ(h.Count("segments"), 0);
  TTestDb f(favicons);
  for (const char *table : {"icon_mapping", "favicons", "favicon_bitmaps"})
    EXPECT_EQ(f.Count(table), 0) << table;
}

TEST_F(ChromiumExportsTest, HistoryRepairOfAWalDatabaseKeepsItsLogMode) {
  const std::wstring history = Path(L"History"), favicons = Path(L"Favicons");
  MakeChromiumHistory(history, TChromiumSchema::Current);
  MakeChromiumFavicons(favicons, TChromiumSchema::Current);
  {
    TTestDb h(history);
    EXPECT_EQ(h.Column("PRAGMA journal_mode=WAL"), Ids{"wal"});
    // A second connection holds the log open, as a browser would.
    TTestDb reader(history);
    EXPECT_EQ(reader.Count("urls"), 3);
    ASSERT_TRUE(RepairChromeHis(PlantBookmarks(), history, favicons));
    EXPECT_EQ(reader.Column("select id from urls"), Ids{"1"});
    EXPECT_EQ(h.Count("visits"), 0);
  }
  EXPECT_EQ(Column(history, "PRAGMA journal_mode"), Ids{"wal"});
  EXPECT_EQ(Column(history, "select id from urls"), Ids{"1"});
}

TEST_F(ChromiumExportsTest, DownloadRepairEmptiesTheDownloadTablesOnly) {
  for (const TChromiumSchema schema : {TChromiumSchema::Chrome96, TChromiumSchema::Current}) {
    const std::wstring history = Path(L"History");
    MakeChromiumHistory(history, schema);
    ASSERT_TRUE(RepairChromeDown(history));
    TTestDb h(history);
    EXPECT_EQ(h.Count("downloads"), 0);
    EXPECT_EQ(h.Count("downloads_url_chains"), 0);
    EXPECT_EQ(h.Count("downloads_slices"), 0);
    if (schema == TChromiumSchema::Chrome96) {
      EXPECT_EQ(h.Count("downloads_reroute_info"), 0);
    }
    EXPECT_EQ(h.Count("urls"), 3);
    EXPECT_EQ(h.Count("visits"), 3);
    EXPECT_EQ(ReadFileBytes(history).find("download.example"), std::string::npos);
  }
}

TEST_F(ChromiumExportsTest, FormRepairWithoutAutofillDatesKeepsCardsAddressesAndKeywords) {
  for (const TChromiumSchema schema : {TChromiumSchema::Chrome96, TChromiumSchema::Current}) {
    const std::wstring webData = Path(L"Web Data");
    MakeChromiumWebData(webData, schema);
    ASSERT_TRUE(RepairChromeFill(webData));
    TTestDb w(webData);
    EXPECT_EQ(w.Count("autofill"), 0);
    EXPECT_EQ(w.Count("credit_cards"), 1);
    EXPECT_EQ(w.Count(schema == TChromiumSchema::Current ? "addresses" : "autofill_profiles"), 1);
    EXPECT_EQ(w.Count("keywords"), 1);
    EXPECT_EQ(ReadFileBytes(webData).find("secret search"), std::string::npos);
  }
}

TEST_F(ChromiumExportsTest, CookiesInTheNetworkFolderAreListedAndDeleted) {
  ASSERT_TRUE(::CreateDirectoryW(Path(L"Network").c_str(), nullptr));
  const std::wstring cookies = Path(L"Network\\Cookies");
  for (const TChromiumSchema schema : {TChromiumSchema::Chrome96, TChromiumSchema::Current}) {
    MakeChromiumCookies(cookies, schema, {".example.org", "www.example.org", ".example.org"});
    // The unique index of each schema allows the same host twice here
    // (other creation time), and the scan lists it once.
    EXPECT_EQ(ScanChromeCk(cookies), L".example.org;www.example.org;");
    ASSERT_TRUE(RepairChromeCk(cookies));
    EXPECT_EQ(Column(cookies, "select count(*) from cookies"), Ids{"0"});
    EXPECT_EQ(Column(cookies, "select count(*) from meta"), Ids{"2"});
    EXPECT_EQ(ReadFileBytes(cookies).find("chromium-secret-cookie"), std::string::npos);
  }
}

TEST_F(ChromiumExportsTest, PagesRepairKeepsBookmarkedTopSitesAndShortcuts) {
  const std::wstring bookmarks = PlantBookmarks();
  for (const TChromiumSchema schema : {TChromiumSchema::Chrome96, TChromiumSchema::Current}) {
    const std::wstring topSites = Path(L"Top Sites");
    MakeChromiumTopSites(topSites, schema);
    ASSERT_TRUE(RepairChromePages(bookmarks, topSites));
    EXPECT_EQ(Column(topSites, "select url from top_sites"), Ids{kChromiumKeptUrl});
  }
  const std::wstring shortcuts = Path(L"Shortcuts");
  MakeChromiumShortcuts(shortcuts);
  ASSERT_TRUE(RepairChromePages(bookmarks, shortcuts));
  EXPECT_EQ(Column(shortcuts, "select id from omni_box_shortcuts"), Ids{"a"});
  ASSERT_TRUE(RepairChromePages(Path(L"no Bookmarks"), shortcuts));
  EXPECT_EQ(Column(shortcuts, "select count(*) from omni_box_shortcuts"), Ids{"0"});
}

TEST_F(ChromiumExportsTest, PagesRepairLeavesOtherFilesAlone) {
  // A missing database is not created; a database of other tables (here a
  // History) and a file that is no database are left as they are.
  const std::wstring missing = Path(L"Top Sites");
  EXPECT_TRUE(RepairChromePages(PlantBookmarks(), missing));
  EXPECT_FALSE(FileExists(missing));
  const std::wstring history = Path(L"History");
  MakeChromiumHistory(history, TChromiumSchema::Current);
  EXPECT_TRUE(RepairChromePages(Path(L"Bookmarks"), history));
  EXPECT_EQ(Column(history, "select count(*) from urls"), Ids{"3"});
  const std::wstring junk = Path(L"Shortcuts");
  WriteFileBytes(junk, std::string(4096, 'x'));
  EXPECT_FALSE(RepairChromePages(Path(L"Bookmarks"), junk));
  EXPECT_EQ(ReadFileBytes(junk), std::string(4096, 'x'));
}

} // namespace
