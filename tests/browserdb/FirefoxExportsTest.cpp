// Part 5.2: the Firefox exports of Drevka.dll, called as the program calls
// them, on fixture databases with Firefox 3's schema.
#include "Fixtures.h"
#include "TestSupport.h"
#include "base/Handles.h"
#include "base/Text.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

using Lines = std::vector<std::wstring>;

class FirefoxExportsTest : public ::testing::Test {
protected:
  FirefoxExportsTest() : folder_(L"drevka-firefox") { ::DeleteFileW(RepairLogPath().c_str()); }
  ~FirefoxExportsTest() override { ::DeleteFileW(RepairLogPath().c_str()); }
  std::wstring Path(const std::wstring &name) { return folder_ / name; }
  TScratchFolder folder_;
};

// places.sqlite of a Firefox 3 profile:
//   places 1-3 visited, place 2 bookmarked; place 4 bookmarked, never
//   visited; place 5 neither; place 6 visited, no icon.
//   Firefox's own folders and separator are bookmarks whose fk is NULL.
//   Icons 1 (place 1), 2 (place 2), 3 (place 4), 4 (no place), 5 (place 5).
void MakePlaces(const std::wstring &path, bool withFolders = true) {
  ::DeleteFileW(path.c_str());
  TTestDb db(path);
  db.Exec(schema::kFirefoxPlaces);
  db.Exec("BEGIN;"
          "insert into moz_favicons values (1,'http://one.example/favicon.ico',x'89504e47','image/png',0);"
          "insert into moz_favicons values (2,'http://two.example/favicon.ico',x'89504e47','image/png',0);"
          "insert into moz_favicons values (3,'http://four.example/favicon.ico',x'89504e47','image/png',0);"
          "insert into moz_favicons values (4,'http://gone.example/favicon.ico',x'89504e47','image/png',0);"
          "insert into moz_favicons values (5,'http://five.example/favicon.ico',x'89504e47','image/png',0);"
          "insert into moz_places values (1,'http://one.example/secret-visited-page','One','elpmaxe.eno.',2,0,1,1,100);"
          "insert into moz_places values (2,'http://two.example/','Two','elpmaxe.owt.',1,0,0,2,100);"
          "insert into moz_places values (3,'http://three.example/','Three','elpmaxe.eerht.',1,0,0,NULL,100);"
          "insert into moz_places values (4,'http://four.example/','Four','elpmaxe.ruof.',0,0,0,3,100);"
          "insert into moz_places values (5,'place:folder=TOOLBAR','Five',NULL,0,1,0,5,0);"
          "insert into moz_places values (6,'http://six.example/','Six','elpmaxe.xis.',1,0,0,NULL,100);"
          "insert into moz_historyvisits values (1,0,1,1230000000000000,1,1);"
          "insert into moz_historyvisits values (2,1,1,1230000001000000,1,1);"
          "insert into moz_historyvisits values (3,0,2,1230000002000000,1,2);"
          "insert into moz_historyvisits values (4,0,3,1230000003000000,1,3);"
          "insert into moz_historyvisits values (5,0,6,1230000004000000,1,3);"
          "insert into moz_bookmarks values (10,1,2,3,0,'Two',NULL,NULL,1230000000000000,1230000000000000);"
          "insert into moz_bookmarks values (11,1,4,3,1,'Four',NULL,NULL,1230000000000000,1230000000000000);");
  if (withFolders)
    db.Exec("insert into moz_bookmarks values (1,2,NULL,0,0,NULL,NULL,NULL,1230000000000000,1230000000000000);"
            "insert into moz_bookmarks values (2,2,NULL,1,0,'Bookmarks Menu',NULL,NULL,1230000000000000,1230000000000000);"
            "insert into moz_bookmarks values (3,2,NULL,1,1,'Bookmarks Toolbar',NULL,NULL,1230000000000000,1230000000000000);"
            "insert into moz_bookmarks values (12,3,NULL,2,0,NULL,NULL,NULL,1230000000000000,1230000000000000);"
            "insert into moz_bookmarks_roots values ('places',1),('menu',2),('toolbar',3);");
  db.Exec("COMMIT");
}

std::vector<std::string> Ids(TTestDb &db, const std::string &table) {
  return db.Column("select id from " + table + " order by id");
}

TEST_F(FirefoxExportsTest, ScanMozCkListsDistinctHosts) {
  const std::wstring path = Path(L"cookies.sqlite");
  MakeFirefoxCookies(path, {".example.com", "example.com", ".example.com", "www.mozilla.org"});
  const std::wstring hosts = ScanMozCk(path);
  // Hosts differing by a leading dot are two entries; every host ends with ";".
  EXPECT_EQ(hosts, L".example.com;example.com;www.mozilla.org;");
}

TEST_F(FirefoxExportsTest, ScanMozCkNullHostGivesAnEmptyEntry) {
  const std::wstring path = Path(L"cookies.sqlite");
  MakeFirefoxCookies(path, {"a.example", nullptr});
  EXPECT_EQ(ScanMozCk(path), L"a.example;;");
}

TEST_F(FirefoxExportsTest, ScanMozCkEmptyTableStoresANullPointer) {
  const std::wstring path = Path(L"cookies.sqlite");
  MakeFirefoxCookies(path, {});
  bool wasNull = false;
  // The slot's old string is freed and replaced.
  EXPECT_EQ(ScanMozCk(path, ::SysAllocString(L"old text"), &wasNull), L"");
  EXPECT_TRUE(wasNull);
}

TEST_F(FirefoxExportsTest, ScanMozCkReplacesTheSlot) {
  const std::wstring path = Path(L"cookies.sqlite");
  MakeFirefoxCookies(path, {"x.example"});
  bool wasNull = true;
  EXPECT_EQ(ScanMozCk(path, ::SysAllocString(L"old text"), &wasNull), L"x.example;");
  EXPECT_FALSE(wasNull);
}

TEST_F(FirefoxExportsTest, ScanMozCkWithoutTheTable) {
  const std::wstring path = Path(L"cookies.sqlite");
  {
    TTestDb db(path);
    db.Exec("create table other (host TEXT); insert into other values ('x')");
  }
  EXPECT_EQ(ScanMozCk(path), L"");
}

TEST_F(FirefoxExportsTest, RepairMozCkDeletesEveryCookieAndTwiceIsFine) {
  const std::wstring path = Path(L"cookies.sqlite");
  MakeFirefoxCookies(path, {".example.com", "example.com", "www.mozilla.org"});
  EXPECT_TRUE(RepairMozCk(path));
  {
    TTestDb db(path);
    EXPECT_EQ(db.Count("moz_cookies"), 0);
  }
  EXPECT_TRUE(RepairMozCk(path));
  EXPECT_EQ(ScanMozCk(path), L"");
}

TEST_F(FirefoxExportsTest, RepairMozCkOverwritesDeletedCookies) {
  // Mend: PRAGMA secure_delete = ON, so the deleted values are not left
  // readable in the database's free pages.
  const std::wstring path = Path(L"cookies.sqlite");
  MakeFirefoxCookies(path, {"a.example", "b.example", "c.example"});
  ASSERT_NE(ReadFileBytes(path).find("secret-cookie-value"), std::string::npos);
  ASSERT_TRUE(RepairMozCk(path));
  const std::string bytes = ReadFileBytes(path);
  EXPECT_EQ(bytes.find("secret-cookie-value"), std::string::npos);
  EXPECT_EQ(bytes.find("b.example"), std::string::npos);
}

TEST_F(FirefoxExportsTest, RepairMozHisFullRun) {
  const std::wstring path = Path(L"places.sqlite");
  MakePlaces(path);
  EXPECT_TRUE(RepairMozHis(path));
  TTestDb db(path);
  // Mend: the NULL fks of the folders no longer stop the deletion. Visited,
  // unbookmarked places go (1, 3, 6); bookmarked (2, 4) and unvisited (5) stay.
  EXPECT_EQ(Ids(db, "moz_places"), (std::vector<std::string>{"2", "4", "5"}));
  // Mend: the NULL favicon_ids no longer stop the deletion. Icons of the
  // remaining places stay.
  EXPECT_EQ(Ids(db, "moz_favicons"), (std::vector<std::string>{"2", "3", "5"}));
  EXPECT_EQ(db.Count("moz_historyvisits"), 0);
  EXPECT_EQ(db.Count("moz_bookmarks"), 6);
  EXPECT_EQ(RepairLogLines(),
            (Lines{L"1:" + path, path, L"moz_places", L"moz_favicons", L"moz_historyvisits"}));
}

TEST_F(FirefoxExportsTest, RepairMozHisWithoutNullsInTheLists) {
  const std::wstring path = Path(L"places.sqlite");
  MakePlaces(path, /*withFolders=*/false);
  {
    TTestDb db(path);
    db.Exec("update moz_places set favicon_id = 5 where favicon_id is null");
  }
  EXPECT_TRUE(RepairMozHis(path));
  TTestDb db(path);
  EXPECT_EQ(Ids(db, "moz_places"), (std::vector<std::string>{"2", "4", "5"}));
  EXPECT_EQ(Ids(db, "moz_favicons"), (std::vector<std::string>{"2", "3", "5"}));
  EXPECT_EQ(db.Count("moz_historyvisits"), 0);
}

TEST_F(FirefoxExportsTest, RepairMozHisOverwritesDeletedHistory) {
  const std::wstring path = Path(L"places.sqlite");
  MakePlaces(path);
  ASSERT_NE(ReadFileBytes(path).find("secret-visited-page"), std::string::npos);
  ASSERT_TRUE(RepairMozHis(path));
  EXPECT_EQ(ReadFileBytes(path).find("secret-visited-page"), std::string::npos);
}

TEST_F(FirefoxExportsTest, RepairMozHisEveryVisitedPlaceBookmarked) {
  const std::wstring path = Path(L"places.sqlite");
  MakePlaces(path);
  {
    TTestDb db(path);
    db.Exec("insert into moz_bookmarks (id,type,fk,parent,position) values (20,1,1,3,2),(21,1,3,3,3),(22,1,6,3,4)");
  }
  EXPECT_TRUE(RepairMozHis(path));
  TTestDb db(path);
  EXPECT_EQ(db.Count("moz_places"), 6);
  EXPECT_EQ(db.Count("moz_historyvisits"), 0);
  EXPECT_EQ(Ids(db, "moz_favicons"), (std::vector<std::string>{"1", "2", "3", "5"}));
}

TEST_F(FirefoxExportsTest, RepairMozHisNoTables) {
  const std::wstring path = Path(L"places.sqlite");
  {
    TTestDb db(path);
    db.Exec("create table moz_other (id INTEGER PRIMARY KEY); insert into moz_other values (1)");
  }
  const std::string before = ReadFileBytes(path);
  EXPECT_TRUE(RepairMozHis(path));
  EXPECT_EQ(ReadFileBytes(path), before);
  EXPECT_EQ(RepairLogLines(), (Lines{L"1:" + path, path}));
  // The log grows by two lines per such call.
  EXPECT_TRUE(RepairMozHis(path));
  EXPECT_EQ(RepairLogLines(), (Lines{L"1:" + path, path, L"1:" + path, path}));
}

TEST_F(FirefoxExportsTest, RepairMozHisMissingFile) {
  const std::wstring path = Path(L"places.sqlite");
  EXPECT_TRUE(RepairMozHis(path));
  EXPECT_FALSE(PathExists(path));
  EXPECT_EQ(RepairLogLines(), (Lines{L"1:" + path}));
}

TEST_F(FirefoxExportsTest, RepairMozHisWithoutVisitsTableFailsAndChangesNothing) {
  const std::wstring path = Path(L"places.sqlite");
  MakePlaces(path);
  {
    TTestDb db(path);
    db.Exec("drop table moz_historyvisits");
  }
  const std::string before = ReadFileBytes(path);
  EXPECT_FALSE(RepairMozHis(path));
  EXPECT_EQ(ReadFileBytes(path), before);
  EXPECT_EQ(RepairLogLines(), (Lines{L"1:" + path, path, L"moz_places"}));
}

TEST_F(FirefoxExportsTest, RepairMozHisFailurePartWayLeavesTheFileAsItWas) {
  // Mend: one transaction per repair. Here the places statement succeeds and
  // the icons statement fails (moz_places lacks favicon_id); before the mend
  // the places stayed deleted.
  const std::wstring path = Path(L"places.sqlite");
  {
    TTestDb db(path);
    db.Exec("create table moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR);"
            "create table moz_historyvisits (id INTEGER PRIMARY KEY, place_id INTEGER);"
            "create table moz_bookmarks (id INTEGER PRIMARY KEY, fk INTEGER);"
            "create table moz_favicons (id INTEGER PRIMARY KEY, url LONGVARCHAR);"
            "insert into moz_places values (1,'http://a.example/'),(2,'http://b.example/');"
            "insert into moz_historyvisits values (1,1),(2,2);"
            "insert into moz_favicons values (1,'http://a.example/favicon.ico');");
  }
  const std::string before = ReadFileBytes(path);
  EXPECT_FALSE(RepairMozHis(path));
  EXPECT_EQ(ReadFileBytes(path), before);
  EXPECT_EQ(RepairLogLines(), (Lines{L"1:" + path, path, L"moz_places", L"moz_favicons"}));
  TTestDb db(path);
  EXPECT_EQ(db.Count("moz_places"), 2);
}

TEST_F(FirefoxExportsTest, RepairMozHisWithoutALogReturnsFalseAndTouchesNothing) {
  const std::wstring path = Path(L"places.sqlite");
  MakePlaces(path);
  const std::string before = ReadFileBytes(path);
  {
    // Another program holds aa.log open without sharing.
    UniqueFile held(::CreateFileW(RepairLogPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held.Valid());
    EXPECT_FALSE(RepairMozHis(path));
  }
  EXPECT_EQ(ReadFileBytes(path), before);
  EXPECT_EQ(ReadFileBytes(RepairLogPath()), "");
}

TEST_F(FirefoxExportsTest, RepairLogIsAppendedInTheAnsiCodePage) {
  const std::wstring path = Path(L"caf\u00e9\\places.sqlite");
  WriteFileBytes(RepairLogPath(), "earlier line\r\n");
  EXPECT_TRUE(RepairMozHis(path));
  EXPECT_EQ(ReadFileBytes(RepairLogPath()), "earlier line\r\n1:" + ToAnsi(path) + "\r\n");
}

TEST_F(FirefoxExportsTest, NothingStaysRegisteredInSqliteBetweenCalls) {
  // The test program shares sqlite3.dll with Drevka.dll.
  const std::wstring path = Path(L"places.sqlite");
  MakePlaces(path);
  EXPECT_TRUE(RepairMozHis(path));
  EXPECT_EQ(sqlite3_vfs_find("drevka-buffered"), nullptr);
  TTestDb db(path);
  EXPECT_EQ(db.Column("pragma integrity_check"), std::vector<std::string>{"ok"});
}

TEST_F(FirefoxExportsTest, NullPathArguments) {
  // A null BSTR is the empty text: no file, nothing to do.
  UniqueModule library(::LoadLibraryW(drevka::kDrevkaLibrary));
  ASSERT_TRUE(library.Valid());
  auto scan = reinterpret_cast<drevka::TScanMozCk>(::GetProcAddress(library.Get(), drevka::kScanMozCk));
  auto repair = reinterpret_cast<drevka::TRepairMozCk>(::GetProcAddress(library.Get(), drevka::kRepairMozCk));
  ASSERT_TRUE(scan && repair);
  BSTR slot = ::SysAllocString(L"old");
  scan(&slot, nullptr);
  EXPECT_EQ(slot, nullptr);
  EXPECT_TRUE(repair(nullptr));
}

} // namespace
