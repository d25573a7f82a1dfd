// The Firefox exports of Drevka.dll, called as the program calls
// them, on fixture databases with Firefox 3's schema.
#include "Fixtures.h"
#include "TestSupport.h"
#include "base/Handles.h"
#include "base/Text.h"
#include "settings/ConfigFile.h"
#include "system/AppFrame_New.h"

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
  MakeFirefoxPlaces(path);
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
  MakeFirefoxPlaces(path, /*withFolders=*/false);
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
  MakeFirefoxPlaces(path);
  ASSERT_NE(ReadFileBytes(path).find("secret-visited-page"), std::string::npos);
  ASSERT_TRUE(RepairMozHis(path));
  EXPECT_EQ(ReadFileBytes(path).find("secret-visited-page"), std::string::npos);
}

TEST_F(FirefoxExportsTest, RepairMozHisEveryVisitedPlaceBookmarked) {
  const std::wstring path = Path(L"places.sqlite");
  MakeFirefoxPlaces(path);
  {
    TTestDb db(path);
    db.Exec("insert into moz_bookmarks (id,type,fk,parent,position) values "
            "(20,1,1,3,2),(21,1,3,3,3),(22,1,6,3,4)");
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
  MakeFirefoxPlaces(path);
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

TEST_F(FirefoxExportsTest, RepairMozHisLogFallsBackToTheDataFolderAndNeverStopsTheRepair) {
  // Mend: the log beside the program cannot be written (as under Program
  // Files): it goes to the program's data folder; when that cannot be
  // written either, the history is cleaned all the same.
  const std::wstring fallback = ConfigFolder(TAppFrame()) + L"aa.log";
  for (const bool holdFallback : {false, true}) {
    SCOPED_TRACE(holdFallback ? "no log anywhere" : "log in the data folder");
    ::DeleteFileW(fallback.c_str());
    ::CreateDirectoryW(ConfigFolder(TAppFrame()).c_str(), nullptr);
    const std::wstring path = Path(L"places.sqlite");
    MakeFirefoxPlaces(path);
    {
      // Another program holds aa.log open without sharing.
      UniqueFile held(::CreateFileW(RepairLogPath().c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
      ASSERT_TRUE(held.Valid());
      UniqueFile heldFallback;
      if (holdFallback) {
        heldFallback.Reset(::CreateFileW(fallback.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(heldFallback.Valid());
      }
      EXPECT_TRUE(RepairMozHis(path));
    }
    EXPECT_EQ(ReadFileBytes(RepairLogPath()), "");
    if (holdFallback)
      EXPECT_EQ(ReadFileBytes(fallback), "");
    else
      EXPECT_EQ(ReadFileBytes(fallback), ToAnsi(L"1:" + path + L"\r\n" + path +
                                                L"\r\nmoz_places\r\nmoz_favicons\r\n"
                                                L"moz_historyvisits\r\n"));
    TTestDb db(path);
    EXPECT_EQ(Ids(db, "moz_places"), (std::vector<std::string>{"2", "4", "5"}));
    EXPECT_EQ(db.Count("moz_historyvisits"), 0);
  }
  ::DeleteFileW(fallback.c_str());
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
  MakeFirefoxPlaces(path);
  EXPECT_TRUE(RepairMozHis(path));
  EXPECT_EQ(sqlite3_vfs_find("drevka-buffered"), nullptr);
  TTestDb db(path);
  EXPECT_EQ(db.Column("pragma integrity_check"), std::vector<std::string>{"ok"});
}

TEST_F(FirefoxExportsTest, NullPathArguments) {
  // A null BSTR is the empty text: no file, nothing to do.
  UniqueModule library(::LoadLibraryW(drevka::kDrevkaLibrary));
  ASSERT_TRUE(library.Valid());
  auto scan =
      reinterpret_cast<drevka::TScanMozCk>(::GetProcAddress(library.Get(), drevka::kScanMozCk));
  auto repair =
      reinterpret_cast<drevka::TRepairMozCk>(::GetProcAddress(library.Get(), drevka::kRepairMozCk));
  ASSERT_TRUE(scan && repair);
  BSTR slot = ::SysAllocString(L"old");
  scan(&slot, nullptr);
  EXPECT_EQ(slot, nullptr);
  EXPECT_TRUE(repair(nullptr));
}

} // namespace
