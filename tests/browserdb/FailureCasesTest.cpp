// The failure cases of every export: a missing file, a
// file that is not a database, a truncated database and a database locked by
// another connection's exclusive transaction. Each gives the documented
// empty text or false and leaves the file byte for byte as it was.
#include "Fixtures.h"
#include "TestSupport.h"
#include "base/Text.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

using namespace velmora;
using namespace velmora::test;

namespace {

const std::string kFiller(120, 'f');

void Fill(TTestDb &db, const std::string &rowSql) {
  db.Exec("BEGIN");
  for (int i = 1; i <= 300; ++i) {
    std::string sql = rowSql;
    for (size_t p; (p = sql.find("#")) != std::string::npos;)
      sql.replace(p, 1, std::to_string(i));
    for (size_t p; (p = sql.find("$")) != std::string::npos;)
      sql.replace(p, 1, kFiller);
    db.Exec(sql);
  }
  db.Exec("COMMIT");
}

void MakeMozCookies(const std::wstring &path) {
  TTestDb db(path);
  db.Exec(schema::kFirefoxCookies);
  Fill(db, "insert into moz_cookies values (#,'n#','$','host#.example','/',1,1,0,0)");
}

void MakeMozPlaces(const std::wstring &path) {
  TTestDb db(path);
  db.Exec(schema::kFirefoxPlaces);
  Fill(db,
       "insert into moz_places values (#,'http://p#.example/$','t',NULL,1,0,0,#,100);"
       "insert into moz_favicons values (#,'http://p#.example/favicon.ico',x'00','image/png',0);"
       "insert into moz_historyvisits values (#,0,#,1230000000000000,1,1);"
       "insert into moz_bookmarks values (#,1,# * 7,1,0,NULL,NULL,NULL,0,0)");
}

void MakeChromeCookiesFixture(const std::wstring &path) {
  TTestDb db(path);
  db.Exec(schema::kChromeCookies);
  Fill(db, "insert into cookies values (#,'host#.example','n','$','/',1,0,0,1)");
}

void MakeChromeHistory(const std::wstring &path) {
  TTestDb db(path);
  db.Exec(schema::kChromeHistoryMeta);
  db.Exec(schema::kChromeUrls);
  db.Exec(schema::kChromeHistoryRest);
  Fill(db, "insert into urls values (#,'http://u#.example/$','t',1,0,1,0,#);"
           "insert into visits values (#,#,1,0,1,0,1);"
           "insert into downloads values (#,'C:\\\\$','http://d#.example/',1,1,1,1)");
}

void MakeChromeWebData(const std::wstring &path) {
  TTestDb db(path);
  db.Exec(schema::kChromeWebData);
  db.Exec(schema::kChromeAutofillDates);
  Fill(db,
       "insert into autofill values ('n#','$','$',#,1); insert into autofill_dates values (#,1)");
}

void MakeChromeThumbnails(const std::wstring &path) {
  TTestDb db(path);
  db.Exec(schema::kChromeThumbnails);
  Fill(db, "insert into favicons values (#,'http://u#.example/$',0,x'00');"
           "insert into thumbnails values (#,1.0,1,1,0,x'00')");
}

// One export on one file; the other files it needs (if any) are good.
struct TCase {
  const char *name;
  std::function<void(const std::wstring &)> make;
  // Calls the export with the file under test; "text:<result>" or "true"/"false".
  std::function<std::string(const TScratchFolder &, const std::wstring &)> call;
  bool isScan;
  // What a missing file gives (documented): scans the empty text, the
  // repairs true; RepairChromeHis creates an empty History.
  bool missingCreatesFile = false;
};

std::string Truth(bool b) { return b ? "true" : "false"; }

std::vector<TCase> Cases() {
  auto scan = [](std::wstring (*fn)(const std::wstring &, BSTR, bool *)) {
    return [fn](const TScratchFolder &, const std::wstring &path) {
      bool wasNull = false;
      const std::wstring text = fn(path, ::SysAllocString(L"old"), &wasNull);
      return "text:" + ToUtf8(text) + (wasNull ? "" : "<not null>");
    };
  };
  auto repair = [](bool (*fn)(const std::wstring &)) {
    return [fn](const TScratchFolder &, const std::wstring &path) { return Truth(fn(path)); };
  };
  return {
      {"ScanMozCk", MakeMozCookies, scan(ScanMozCk), true},
      {"RepairMozCk", MakeMozCookies, repair(RepairMozCk), false},
      {"RepairMozHis", MakeMozPlaces, repair(RepairMozHis), false},
      {"ScanChromeCk", MakeChromeCookiesFixture, scan(ScanChromeCk), true},
      {"RepairChromeCk", MakeChromeCookiesFixture, repair(RepairChromeCk), false},
      {"RepairChromeDown", MakeChromeHistory, repair(RepairChromeDown), false},
      {"RepairChromeFill", MakeChromeWebData, repair(RepairChromeFill), false},
      {"RepairChromeHis(History)", MakeChromeHistory,
       [](const TScratchFolder &folder, const std::wstring &path) {
         MakeChromeThumbnails(folder / L"Thumbnails");
         // Keeps url 7, its favicon and its thumbnail.
         WriteFileBytes(folder / L"Bookmarks",
                        ChromeBookmarksJson({{"Seven", "http://u7.example/" + kFiller}}));
         const std::string thumbnails = ReadFileBytes(folder / L"Thumbnails");
         const bool result = RepairChromeHis(folder / L"Bookmarks", path, folder / L"Thumbnails");
         EXPECT_EQ(ReadFileBytes(folder / L"Thumbnails") == thumbnails, !result)
             << "Thumbnails changed although the call failed, or not changed although it succeeded";
         return Truth(result);
       },
       false, true},
      {"RepairChromeHis(Thumbnails)", MakeChromeThumbnails,
       [](const TScratchFolder &folder, const std::wstring &path) {
         MakeChromeHistory(folder / L"History");
         const std::string history = ReadFileBytes(folder / L"History");
         const bool result = RepairChromeHis(folder / L"Bookmarks", folder / L"History", path);
         EXPECT_EQ(ReadFileBytes(folder / L"History") == history, !result)
             << "History changed although the call failed, or not changed although it succeeded";
         return Truth(result);
       },
       false, true},
  };
}

std::string FailureOutcome(const TCase &c) { return c.isScan ? "text:" : "false"; }

class FailureCasesTest : public ::testing::Test {
protected:
  FailureCasesTest() : folder_(L"drevka-failures") {}
  ~FailureCasesTest() override { ::DeleteFileW(RepairLogPath().c_str()); }
  const std::wstring Target() { return folder_ / L"target.sqlite"; }
  void Reset() {
    RemoveTree(folder_.Path());
    MakeFolders(folder_.Path());
  }
  TScratchFolder folder_;
};

using TIds = std::vector<std::string>;

TIds Ids(const std::wstring &path, const std::string &sql) { return TTestDb(path).Column(sql); }

int64_t Rows(const std::wstring &path, const std::string &table) {
  return TTestDb(path).Count(table);
}

TEST_F(FailureCasesTest, GoodFixturesWork) {
  // The fixtures below are sound before they are damaged: each call
  // succeeds and leaves exactly the rows it must keep.
  TIds sevens; // ids 1-300 that a bookmark points at
  for (int id = 7; id <= 300; id += 7)
    sevens.push_back(std::to_string(id));
  const std::map<std::string, std::function<void(const std::wstring &)>> leaves = {
      {"ScanMozCk", [](const std::wstring &db) { EXPECT_EQ(Rows(db, "moz_cookies"), 300); }},
      {"RepairMozCk", [](const std::wstring &db) { EXPECT_EQ(Rows(db, "moz_cookies"), 0); }},
      {"RepairMozHis",
       [&](const std::wstring &db) {
         // Visited places go unless bookmarked; icons go with their places.
         EXPECT_EQ(Ids(db, "select id from moz_places order by id"), sevens);
         EXPECT_EQ(Ids(db, "select id from moz_favicons order by id"), sevens);
         EXPECT_EQ(Rows(db, "moz_historyvisits"), 0);
         EXPECT_EQ(Rows(db, "moz_bookmarks"), 300);
       }},
      {"ScanChromeCk", [](const std::wstring &db) { EXPECT_EQ(Rows(db, "cookies"), 300); }},
      {"RepairChromeCk", [](const std::wstring &db) { EXPECT_EQ(Rows(db, "cookies"), 0); }},
      {"RepairChromeDown",
       [](const std::wstring &db) {
         EXPECT_EQ(Rows(db, "downloads"), 0);
         EXPECT_EQ(Rows(db, "urls"), 300);
         EXPECT_EQ(Rows(db, "visits"), 300);
       }},
      {"RepairChromeFill",
       [](const std::wstring &db) {
         EXPECT_EQ(Rows(db, "autofill"), 0);
         EXPECT_EQ(Rows(db, "autofill_dates"), 0);
       }},
      {"RepairChromeHis(History)",
       [this](const std::wstring &db) {
         EXPECT_EQ(Ids(db, "select id from urls"), TIds{"7"});
         EXPECT_EQ(Rows(db, "visits"), 0);
         EXPECT_EQ(Rows(db, "downloads"), 300);
         EXPECT_EQ(Ids(folder_ / L"Thumbnails", "select id from favicons"), TIds{"7"});
         EXPECT_EQ(Ids(folder_ / L"Thumbnails", "select url_id from thumbnails"), TIds{"7"});
       }},
      {"RepairChromeHis(Thumbnails)",
       [this](const std::wstring &db) {
         // Without a Bookmarks file nothing is kept.
         EXPECT_EQ(Rows(db, "favicons"), 0);
         EXPECT_EQ(Rows(db, "thumbnails"), 0);
         EXPECT_EQ(Rows(folder_ / L"History", "urls"), 0);
         EXPECT_EQ(Rows(folder_ / L"History", "visits"), 0);
         EXPECT_EQ(Rows(folder_ / L"History", "downloads"), 300);
       }},
  };
  for (const TCase &c : Cases()) {
    SCOPED_TRACE(c.name);
    Reset();
    c.make(Target());
    const std::string outcome = c.call(folder_, Target());
    if (c.isScan) {
      EXPECT_EQ(outcome.rfind("text:host1.example;host2.example;", 0), 0u) << outcome;
    } else {
      EXPECT_EQ(outcome, "true");
    }
    ASSERT_EQ(leaves.count(c.name), 1u);
    leaves.at(c.name)(Target());
  }
}

TEST_F(FailureCasesTest, MissingFile) {
  for (const TCase &c : Cases()) {
    SCOPED_TRACE(c.name);
    Reset();
    const std::string outcome = c.call(folder_, Target());
    // Scans give the empty text, repairs true (nothing to do). A missing
    // database of RepairChromeHis becomes an empty one.
    EXPECT_EQ(outcome, c.isScan ? "text:" : "true");
    EXPECT_EQ(PathExists(Target()), c.missingCreatesFile);
  }
}

TEST_F(FailureCasesTest, NotADatabase) {
  std::string text;
  for (int i = 0; i < 200; ++i)
    text += "This is a text file, not an SQLite database. Line " + std::to_string(i) + "\r\n";
  for (const TCase &c : Cases()) {
    SCOPED_TRACE(c.name);
    Reset();
    WriteFileBytes(Target(), text);
    EXPECT_EQ(c.call(folder_, Target()), FailureOutcome(c));
    EXPECT_EQ(ReadFileBytes(Target()), text);
  }
}

TEST_F(FailureCasesTest, TruncatedDatabase) {
  for (const TCase &c : Cases()) {
    SCOPED_TRACE(c.name);
    Reset();
    c.make(Target());
    const std::string whole = ReadFileBytes(Target());
    ASSERT_GT(whole.size(), 8u * 4096);
    const std::string truncated = whole.substr(0, whole.size() / 2);
    WriteFileBytes(Target(), truncated);
    EXPECT_EQ(c.call(folder_, Target()), FailureOutcome(c));
    EXPECT_EQ(ReadFileBytes(Target()), truncated);
  }
}

TEST_F(FailureCasesTest, LockedDatabase) {
  for (const TCase &c : Cases()) {
    SCOPED_TRACE(c.name);
    Reset();
    c.make(Target());
    const std::string before = ReadFileBytes(Target());
    {
      TTestDb other(Target());
      other.Exec("BEGIN EXCLUSIVE");
      EXPECT_EQ(c.call(folder_, Target()), FailureOutcome(c));
      other.Exec("ROLLBACK");
    }
    EXPECT_EQ(ReadFileBytes(Target()), before);
  }
}

} // namespace
