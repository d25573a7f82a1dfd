// The Firefox exports of Drevka.dll on databases of today's Firefox
// (two versions' schemas, WAL mode), and the download and form history
// exports that only today's layout needs.
#include "CurrentFirefoxFixtures.h"
#include "Fixtures.h"
#include "TestSupport.h"

#include "base/FolderEntries.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

using Ids = std::vector<std::string>;

class CurrentFirefoxExportsTest : public ::testing::TestWithParam<TFirefoxVersion> {
protected:
  CurrentFirefoxExportsTest() : folder_(L"drevka-firefox-today") {
    ::DeleteFileW(RepairLogPath().c_str());
    MakeCurrentPlaces(folder_.Path(), GetParam(), "a");
  }
  ~CurrentFirefoxExportsTest() override { ::DeleteFileW(RepairLogPath().c_str()); }
  std::wstring Path(const std::wstring &name) { return folder_ / name; }
  std::wstring Places() { return Path(L"places.sqlite"); }
  std::wstring Icons() { return Path(L"favicons.sqlite"); }
  TScratchFolder folder_;
};

Ids Rows(const std::wstring &path, const std::string &sql) {
  TTestDb db(path);
  return db.Column(sql);
}

TEST_P(CurrentFirefoxExportsTest, HistoryRepairKeepsBookmarksAndClearsEveryPlaceKeyedTable) {
  const std::string bookmarkedPlaces = "select * from moz_places where id in (2, 4) order by id";
  auto snapshot = [&](const std::wstring &path, const std::string &sql) {
    TTestDb db(path);
    std::vector<std::string> rows;
    sqlite3_stmt *statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db.Handle(), sql.c_str(), -1, &statement, nullptr), SQLITE_OK);
    while (sqlite3_step(statement) == SQLITE_ROW) {
      std::string row;
      for (int c = 0; c < sqlite3_column_count(statement); ++c) {
        const unsigned char *text = sqlite3_column_text(statement, c);
        row += (text ? reinterpret_cast<const char *>(text) : "<null>") + std::string("|");
      }
      rows.push_back(row);
    }
    sqlite3_finalize(statement);
    return rows;
  };
  const auto places = snapshot(Places(), bookmarkedPlaces);
  const auto bookmarks = snapshot(Places(), "select * from moz_bookmarks order by id");
  const auto icons = snapshot(Icons(), "select id, icon_url, hex(data) from moz_icons where id "
                                       "in (2, 4) order by id");
  ASSERT_EQ(places.size(), 2u);

  ASSERT_TRUE(RepairMozHis(Places()));
  EXPECT_EQ(Rows(Places(), "select id from moz_places order by id"), (Ids{"2", "4", "5"}));
  EXPECT_EQ(snapshot(Places(), bookmarkedPlaces), places);
  EXPECT_EQ(snapshot(Places(), "select * from moz_bookmarks order by id"), bookmarks);
  for (const char *emptied : {"moz_historyvisits", "moz_inputhistory", "moz_places_metadata",
                              "moz_places_metadata_search_queries", "moz_annos"})
    EXPECT_EQ(Rows(Places(), std::string("select count(*) from ") + emptied), Ids{"0"}) << emptied;
  EXPECT_EQ(Rows(Places(), "select host from moz_origins order by id"),
            (Ids{"kept-a.example", "typed-a.example"}));
  if (GetParam() == TFirefoxVersion::Esr128) {
    EXPECT_EQ(Rows(Places(), "select place_id from moz_places_extra"), Ids{"2"});
    EXPECT_EQ(Rows(Places(), "select count(*) from moz_historyvisits_extra"), Ids{"0"});
  }
  // favicons.sqlite beside it: the removed page, its icon and the root icon
  // of the site that is gone; the bookmarked site's icons stay as they were.
  EXPECT_EQ(Rows(Icons(), "select id from moz_pages_w_icons"), Ids{"2"});
  EXPECT_EQ(Rows(Icons(), "select page_id || '-' || icon_id from moz_icons_to_pages"), Ids{"2-2"});
  EXPECT_EQ(snapshot(Icons(), "select id, icon_url, hex(data) from moz_icons order by id"), icons);
  EXPECT_EQ(Rows(Places(), "PRAGMA journal_mode"), Ids{"wal"});
  EXPECT_EQ(Rows(Icons(), "PRAGMA journal_mode"), Ids{"wal"});
  // Deleted rows are overwritten, not left in free pages.
  for (const std::wstring &file : {Places(), Icons()})
    EXPECT_EQ(ReadFileBytes(file).find("seen-a.example"), std::string::npos);
  // A second run finds nothing more to do.
  EXPECT_TRUE(RepairMozHis(Places()));
  EXPECT_EQ(Rows(Places(), "select id from moz_places order by id"), (Ids{"2", "4", "5"}));
}

TEST_P(CurrentFirefoxExportsTest, HistoryRepairWithoutFaviconsBesideIt) {
  ASSERT_TRUE(::DeleteFileW(Icons().c_str()));
  ASSERT_TRUE(RepairMozHis(Places()));
  EXPECT_EQ(Rows(Places(), "select id from moz_places order by id"), (Ids{"2", "4", "5"}));
  EXPECT_FALSE(FileExists(Icons())); // never created by the repair
}

TEST_P(CurrentFirefoxExportsTest, DownloadRepairRemovesTheDownloadsAndThePlacesOnlyTheyKept) {
  struct TCase {
    const char *name;
    const char *extra; // run on the fixture first
    Ids places, visits;
  } const cases[] = {
      {"download only", "", {"1", "2", "4", "5"}, {"1", "2"}},
      // A downloaded address also visited as a page stays with that visit.
      {"also visited",
       "insert into moz_historyvisits(id, place_id, visit_date, visit_type) values (9, 3, 5, 1)",
       {"1", "2", "3", "4", "5"},
       {"1", "2", "9"}},
      // A bookmarked download stays.
      {"bookmarked",
       "insert into moz_bookmarks(id, type, fk, parent, position, title) values (9, 1, 3, 2, 2, "
       "'dl')",
       {"1", "2", "3", "4", "5"},
       {"1", "2"}},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.name);
    MakeCurrentPlaces(folder_.Path(), GetParam(), "a");
    if (*c.extra) {
      TTestDb db(Places());
      db.Exec(c.extra);
    }
    EXPECT_EQ(ScanMozDown(Places()), L"https://dl-a.example/file.zip\n");
    ASSERT_TRUE(RepairMozDown(Places()));
    EXPECT_EQ(Rows(Places(), "select id from moz_places order by id"), c.places);
    EXPECT_EQ(Rows(Places(), "select id from moz_historyvisits order by id"), c.visits);
    // The other annotation (of a page that stays) is not a download's.
    EXPECT_EQ(Rows(Places(), "select place_id || '-' || anno_attribute_id from moz_annos"),
              Ids{"1-3"});
    EXPECT_EQ(ScanMozDown(Places()), L"");
    EXPECT_EQ(Rows(Places(), "select count(*) from moz_bookmarks where fk in (2, 4)"), Ids{"2"});
  }
}

INSTANTIATE_TEST_SUITE_P(Versions, CurrentFirefoxExportsTest,
                         ::testing::Values(TFirefoxVersion::Esr115, TFirefoxVersion::Esr128),
                         [](const auto &info) {
                           return info.param == TFirefoxVersion::Esr115 ? std::string("Esr115")
                                                                        : std::string("Esr128");
                         });

TEST(CurrentFirefoxCookiesTest, ScanAndRepairOnEverySchema) {
  TScratchFolder folder(L"drevka-firefox-cookies");
  for (const int version : {12, 13, 17}) {
    SCOPED_TRACE(version);
    const std::wstring path = folder / L"cookies.sqlite";
    MakeCurrentCookies(path, version, {".example.com", "www.mozilla.org", ".example.com"});
    EXPECT_EQ(JournalModeOf(path), "wal");
    EXPECT_EQ(ScanMozCk(path), L".example.com;www.mozilla.org;");
    ASSERT_TRUE(RepairMozCk(path));
    EXPECT_EQ(ScanMozCk(path), L"");
    EXPECT_EQ(ReadFileBytes(path).find("cookie-secret-"), std::string::npos);
    EXPECT_EQ(JournalModeOf(path), "wal");
  }
}

TEST(CurrentFirefoxFormsTest, ScanListsFieldNamesAndRepairDeletesEveryEntry) {
  TScratchFolder folder(L"drevka-firefox-forms");
  const std::wstring path = folder / L"formhistory.sqlite";
  MakeCurrentFormHistory(path, {{"searchbar-history", "secret query"},
                                {"email", "me@example.com"},
                                {"searchbar-history", "second query"}});
  EXPECT_EQ(ScanMozForm(path), L"searchbar-history\nemail\n");
  ASSERT_TRUE(RepairMozForm(path));
  EXPECT_EQ(ScanMozForm(path), L"");
  TTestDb db(path);
  EXPECT_EQ(db.Count("moz_formhistory"), 0);
  EXPECT_EQ(db.Count("moz_history_to_sources"), 0);
  EXPECT_EQ(db.Count("moz_sources"), 0);
  EXPECT_EQ(db.Count("moz_deleted_formhistory"), 1); // tombstones hold no text
}

TEST(CurrentFirefoxFormsTest, NewExportsOnMissingDamagedOrForeignFiles) {
  TScratchFolder folder(L"drevka-firefox-bad");
  const std::wstring missing = folder / L"missing.sqlite", damaged = folder / L"damaged.sqlite",
                     foreign = folder / L"foreign.sqlite";
  WriteFileBytes(damaged, std::string(4096, 'x'));
  {
    TTestDb db(foreign);
    db.Exec("create table other (x)");
  }
  // Nothing to do is success; a damaged file is a failure; nothing is created.
  EXPECT_TRUE(RepairMozDown(missing));
  EXPECT_TRUE(RepairMozForm(missing));
  EXPECT_FALSE(FileExists(missing));
  EXPECT_FALSE(RepairMozDown(damaged));
  EXPECT_FALSE(RepairMozForm(damaged));
  EXPECT_EQ(ScanMozDown(damaged), L"");
  EXPECT_EQ(ScanMozForm(damaged), L"");
  EXPECT_TRUE(RepairMozDown(foreign));
  EXPECT_TRUE(RepairMozForm(foreign));
  EXPECT_EQ(ScanMozDown(foreign), L"");
  EXPECT_EQ(ReadFileBytes(damaged), std::string(4096, 'x'));
}

TEST(CurrentFirefoxHeldTest, RepairsOfADatabaseFirefoxHoldsFailAndChangeNothing) {
  // Firefox keeps places.sqlite open in exclusive locking mode.
  TScratchFolder folder(L"drevka-firefox-held");
  MakeCurrentPlaces(folder.Path(), TFirefoxVersion::Esr128, "h");
  const std::wstring places = folder / L"places.sqlite";
  {
    TTestDb firefox(places);
    firefox.Exec("PRAGMA locking_mode = EXCLUSIVE");
    firefox.Exec("BEGIN IMMEDIATE");
    firefox.Exec("update moz_meta set value = value where 0");
    EXPECT_FALSE(RepairMozHis(places));
    EXPECT_FALSE(RepairMozDown(places));
    firefox.Exec("COMMIT");
  }
  TTestDb db(places);
  EXPECT_EQ(db.Count("moz_places"), 5);
  EXPECT_EQ(db.Count("moz_historyvisits"), 3);
  EXPECT_EQ(db.Count("moz_annos"), 3);
}

} // namespace
