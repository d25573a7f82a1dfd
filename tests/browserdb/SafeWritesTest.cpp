// Drevka's repairs against databases a browser shares or left behind: a
// write-ahead log with a reader or a writer of its own, a hot journal left by
// a crash, and a kept-url list far larger than any SQL text would hold.
#include "Fixtures.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

using Ids = std::vector<std::string>;

class SafeWritesTest : public ::testing::Test {
protected:
  SafeWritesTest() : folder_(L"drevka-safe-writes") {}
  ~SafeWritesTest() override { ::DeleteFileW(RepairLogPath().c_str()); }
  std::wstring Path(const std::wstring &name) { return folder_ / name; }
  TScratchFolder folder_;
};

TEST_F(SafeWritesTest, WalDatabaseSharedWithARunningBrowser) {
  // The browser's own connection holds a read transaction (it shows a page)
  // or the write lock (it records a visit) while the history is repaired.
  // The repair either completes or leaves database and log byte-identical;
  // either way the browser's connection finds a sound database afterwards.
  struct TCase {
    const char *name;
    const char *browserHolds;
    bool completes;
  };
  const TCase kCases[] = {
      {"reader", "BEGIN; select count(*) from moz_places;", true},
      {"writer", "BEGIN IMMEDIATE; insert into moz_inputhistory values (5, 'x', 1);", false},
  };
  for (const TCase &c : kCases) {
    SCOPED_TRACE(c.name);
    const std::wstring path = Path(L"places.sqlite");
    ::DeleteFileW((path + L"-wal").c_str());
    ::DeleteFileW((path + L"-shm").c_str());
    MakeFirefoxPlaces(path);
    TTestDb browser(path);
    EXPECT_EQ(browser.Column("pragma journal_mode = WAL"), Ids{"wal"});
    browser.Exec("pragma wal_autocheckpoint = 0");
    browser.Exec("insert into moz_historyvisits (place_id, visit_date) values (5, 1)");
    browser.Exec(c.browserHolds);
    const std::string databaseBefore = ReadFileBytes(path);
    const std::string walBefore = ReadFileBytes(path + L"-wal");

    EXPECT_EQ(RepairMozHis(path), c.completes);
    if (!c.completes) {
      EXPECT_EQ(ReadFileBytes(path), databaseBefore);
      EXPECT_EQ(ReadFileBytes(path + L"-wal"), walBefore);
    }
    browser.Exec(c.completes ? "COMMIT" : "ROLLBACK");
    EXPECT_EQ(browser.Column("pragma integrity_check"), Ids{"ok"});
    if (c.completes) {
      // Place 5 now has a visit, so it goes with 1, 3 and 6.
      EXPECT_EQ(browser.Column("select id from moz_places order by id"), (Ids{"2", "4"}));
      EXPECT_EQ(browser.Count("moz_historyvisits"), 0);
    } else {
      EXPECT_EQ(browser.Count("moz_places"), 6);
    }
  }
}

TEST_F(SafeWritesTest, HotJournalLeftByACrashIsRolledBackFirst) {
  // A browser crashed half-way through a transaction that had already
  // written pages into the database: the journal beside it is hot. The
  // repair must roll it back (restoring the database) before cleaning.
  const std::wstring path = Path(L"places.sqlite");
  const std::wstring crashed = Path(L"crashed.sqlite");
  MakeFirefoxPlaces(path);
  {
    TTestDb db(path);
    db.Exec("create table filler (x TEXT); BEGIN;");
    for (int i = 0; i < 400; ++i)
      db.Exec("insert into filler values (hex(randomblob(400)))");
    db.Exec("COMMIT");
  }
  {
    TTestDb browser(path);
    browser.Exec("pragma cache_size = 2; BEGIN; delete from moz_bookmarks; update filler set x = "
                 "'gone'; delete from moz_places where id = 5;");
    // The pages spilled into the database file; copy it with its journal as
    // they lie on disk at the crash, then let the real connection roll back.
    WriteFileBytes(crashed, ReadFileBytes(path));
    WriteFileBytes(crashed + L"-journal", ReadFileBytes(path + L"-journal"));
    browser.Exec("ROLLBACK");
  }
  ASSERT_NE(ReadFileBytes(crashed + L"-journal"), "");
  ASSERT_NE(ReadFileBytes(crashed), ReadFileBytes(path));

  EXPECT_TRUE(RepairMozHis(crashed));
  TTestDb db(crashed);
  EXPECT_EQ(db.Column("pragma integrity_check"), Ids{"ok"});
  // The bookmarks came back from the journal, so places 2 and 4 stay, and so
  // does the unvisited place 5.
  EXPECT_EQ(db.Column("select id from moz_places order by id"), (Ids{"2", "4", "5"}));
  EXPECT_EQ(db.Count("moz_bookmarks"), 6);
  EXPECT_EQ(db.Count("filler", "x = 'gone'"), 0);
  EXPECT_EQ(db.Count("moz_historyvisits"), 0);
}

TEST_F(SafeWritesTest, RepairChromeHisKeeps300000BookmarkedUrls) {
  // The kept ids go through a temporary table: no SQL text grows with them.
  const std::wstring history = Path(L"History");
  const std::wstring thumbnails = Path(L"Thumbnails");
  const std::wstring bookmarks = Path(L"Bookmarks");
  constexpr int kKept = 300000;
  MakeChromeHistoryDb(history);
  MakeChromeThumbnailsDb(thumbnails);
  std::vector<std::pair<std::string, std::string>> marks;
  marks.reserve(kKept);
  {
    TTestDb db(history);
    db.Exec("delete from urls; BEGIN");
    sqlite3_stmt *insert = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db.Handle(),
                                 "insert into urls values (?1, ?2, 't', 1, 0, 1, 0, ?3)", -1,
                                 &insert, nullptr),
              SQLITE_OK);
    for (int i = 1; i <= kKept + 10; ++i) {
      const std::string url = "http://u.example/" + std::to_string(i);
      sqlite3_bind_int(insert, 1, i);
      sqlite3_bind_text(insert, 2, url.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int(insert, 3, i % 5 + 1);
      sqlite3_step(insert);
      sqlite3_reset(insert);
      if (i <= kKept)
        marks.emplace_back("m", url);
    }
    sqlite3_finalize(insert);
    db.Exec("COMMIT");
  }
  WriteFileBytes(bookmarks, ChromeBookmarksJson(marks));
  EXPECT_TRUE(RepairChromeHis(bookmarks, history, thumbnails));
  TTestDb db(history);
  EXPECT_EQ(db.Count("urls"), kKept);
  EXPECT_EQ(db.Count("urls", "id > " + std::to_string(kKept)), 0);
  EXPECT_EQ(db.Column("pragma integrity_check"), Ids{"ok"});
}

TEST_F(SafeWritesTest, RepairChromeHisSkipsIdsThatAreNotIntegers) {
  // A damaged or hand-made History whose ids are text: such a row is never
  // kept by id (and its text never becomes SQL); integer rows work as ever.
  const std::wstring history = Path(L"History");
  const std::wstring thumbnails = Path(L"Thumbnails");
  const std::wstring bookmarks = Path(L"Bookmarks");
  {
    TTestDb db(history);
    db.Exec("create table urls (id TEXT, url LONGVARCHAR, favicon_id TEXT);"
            "insert into urls values ('1', 'http://a.example/', '1'),"
            "('0) or (1=1', 'http://b.example/', '2);drop table urls;--'),"
            "('3', 'http://c.example/', NULL), ('4', 'http://d.example/', '4');");
  }
  {
    TTestDb db(thumbnails);
    db.Exec("create table favicons (id INTEGER PRIMARY KEY);"
            "insert into favicons values (1), (2), (4);");
  }
  WriteFileBytes(bookmarks, ChromeBookmarksJson({{"a", "http://a.example/"},
                                                 {"b", "http://b.example/"},
                                                 {"c", "http://c.example/"}}));
  EXPECT_TRUE(RepairChromeHis(bookmarks, history, thumbnails));
  TTestDb db(history);
  EXPECT_EQ(db.Column("select id from urls order by id"), (Ids{"1", "3"}));
  TTestDb icons(thumbnails);
  EXPECT_EQ(icons.Column("select id from favicons order by id"), (Ids{"1"}));
}

} // namespace
