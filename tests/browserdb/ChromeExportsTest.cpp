// The Chrome exports of Drevka.dll, called as the program calls
// them, on fixture databases with the schemas of Chrome 2-4.
#include "Fixtures.h"
#include "TestSupport.h"
#include "base/Handles.h"
#include "base/Text.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

using Ids = std::vector<std::string>;

class ChromeExportsTest : public ::testing::Test {
protected:
  ChromeExportsTest() : folder_(L"drevka-chrome") {}
  std::wstring Path(const std::wstring &name) { return folder_ / name; }
  std::wstring Bookmarks() { return Path(L"Bookmarks"); }
  std::wstring History() { return Path(L"History"); }
  std::wstring Thumbnails() { return Path(L"Thumbnails"); }
  TScratchFolder folder_;
};

Ids Column(const std::wstring &path, const std::string &sql) {
  TTestDb db(path);
  return db.Column(sql);
}

void ExpectAllHistoryGone(const std::wstring &history, const std::wstring &thumbnails) {
  TTestDb h(history);
  for (const char *table : {"urls", "visits", "segments", "segment_usage", "keyword_search_terms", "presentation"})
    EXPECT_EQ(h.Count(table), 0) << table;
  EXPECT_EQ(h.Count("downloads"), 1);
  TTestDb t(thumbnails);
  EXPECT_EQ(t.Count("favicons"), 0);
  EXPECT_EQ(t.Count("thumbnails"), 0);
}

TEST_F(ChromeExportsTest, ScanChromeCkListsDistinctHosts) {
  const std::wstring path = Path(L"Cookies");
  MakeChromeCookies(path, {".google.com", "google.com", ".google.com", "www.example.org"});
  EXPECT_EQ(ScanChromeCk(path), L".google.com;google.com;www.example.org;");
  MakeChromeCookies(path, {});
  bool wasNull = false;
  EXPECT_EQ(ScanChromeCk(path, ::SysAllocString(L"old"), &wasNull), L"");
  EXPECT_TRUE(wasNull);
}

TEST_F(ChromeExportsTest, RepairChromeCkDeletesEveryCookieSecurely) {
  const std::wstring path = Path(L"Cookies");
  MakeChromeCookies(path, {".google.com", "www.example.org"});
  EXPECT_TRUE(RepairChromeCk(path));
  EXPECT_EQ(Column(path, "select count(*) from cookies"), Ids{"0"});
  EXPECT_EQ(Column(path, "select count(*) from meta"), Ids{"2"});
  EXPECT_EQ(ReadFileBytes(path).find("chrome-secret-cookie"), std::string::npos);
  EXPECT_TRUE(RepairChromeCk(path));
}

TEST_F(ChromeExportsTest, RepairChromeDownDeletesDownloadsOnly) {
  MakeChromeHistoryDb(History());
  EXPECT_TRUE(RepairChromeDown(History()));
  EXPECT_EQ(Column(History(), "select count(*) from downloads"), Ids{"0"});
  EXPECT_EQ(Column(History(), "select count(*) from urls"), Ids{"6"});
}

TEST_F(ChromeExportsTest, RepairChromeFill) {
  const std::wstring path = Path(L"Web Data");
  MakeChromeWebDataDb(path);
  EXPECT_TRUE(RepairChromeFill(path));
  EXPECT_EQ(Column(path, "select count(*) from autofill"), Ids{"0"});
  EXPECT_EQ(Column(path, "select count(*) from autofill_dates"), Ids{"0"});
  EXPECT_EQ(Column(path, "select count(*) from keywords"), Ids{"1"});
  EXPECT_EQ(ReadFileBytes(path).find("secret search"), std::string::npos);
}

TEST_F(ChromeExportsTest, RepairChromeFillWithoutAutofillDates) {
  const std::wstring path = Path(L"Web Data");
  {
    TTestDb db(path);
    db.Exec(schema::kChromeWebData);
    db.Exec("insert into autofill values ('email','me@example.org','me@example.org',1,3);");
  }
  EXPECT_TRUE(RepairChromeFill(path));
  EXPECT_EQ(Column(path, "select count(*) from autofill"), Ids{"0"});
}

TEST_F(ChromeExportsTest, SimpleRepairsOnMissingFilesCreateNothing) {
  EXPECT_TRUE(RepairChromeCk(Path(L"Cookies")));
  EXPECT_TRUE(RepairChromeDown(History()));
  EXPECT_TRUE(RepairChromeFill(Path(L"Web Data")));
  EXPECT_EQ(ScanChromeCk(Path(L"Cookies")), L"");
  EXPECT_FALSE(PathExists(Path(L"Cookies")));
  EXPECT_FALSE(PathExists(History()));
  EXPECT_FALSE(PathExists(Path(L"Web Data")));
}

TEST_F(ChromeExportsTest, RepairChromeHisKeepsWhatTheBookmarksQuote) {
  MakeChromeHistoryDb(History());
  MakeChromeThumbnailsDb(Thumbnails());
  WriteFileBytes(Bookmarks(), ChromeStandardBookmarks());
  ASSERT_NE(ReadFileBytes(History()).find("secret-history-page"), std::string::npos);
  EXPECT_TRUE(RepairChromeHis(Bookmarks(), History(), Thumbnails()));
  // Kept: the two bookmarks (sharing favicon 1, which is listed twice) and
  // url 4, quoted as a name. Not kept: url 3 (other letter case), 5, 6.
  EXPECT_EQ(Column(History(), "select id from urls order by id"), (Ids{"1", "2", "4"}));
  EXPECT_EQ(Column(Thumbnails(), "select id from favicons order by id"), (Ids{"1", "3"}));
  EXPECT_EQ(Column(Thumbnails(), "select url_id from thumbnails order by url_id"), (Ids{"1", "4"}));
  EXPECT_EQ(Column(History(), "select id from segments"), Ids{"1"});
  EXPECT_EQ(Column(History(), "select segment_id from segment_usage"), Ids{"1"});
  EXPECT_EQ(Column(History(), "select url_id from keyword_search_terms"), Ids{"1"});
  EXPECT_EQ(Column(History(), "select url_id from presentation"), Ids{"1"});
  EXPECT_EQ(Column(History(), "select count(*) from visits"), Ids{"0"});
  EXPECT_EQ(Column(History(), "select count(*) from downloads"), Ids{"1"});
  // Mend: secure_delete overwrote what was deleted.
  EXPECT_EQ(ReadFileBytes(History()).find("secret-history-page"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(History()).find("secret term"), std::string::npos);
}

TEST_F(ChromeExportsTest, RepairChromeHisWithoutBookmarksFile) {
  MakeChromeHistoryDb(History());
  MakeChromeThumbnailsDb(Thumbnails());
  EXPECT_TRUE(RepairChromeHis(Bookmarks(), History(), Thumbnails()));
  ExpectAllHistoryGone(History(), Thumbnails());
}

TEST_F(ChromeExportsTest, RepairChromeHisWithEmptyBookmarksFile) {
  MakeChromeHistoryDb(History());
  MakeChromeThumbnailsDb(Thumbnails());
  WriteFileBytes(Bookmarks(), "");
  EXPECT_TRUE(RepairChromeHis(Bookmarks(), History(), Thumbnails()));
  ExpectAllHistoryGone(History(), Thumbnails());
}

std::string Utf16(const std::wstring &text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (wchar_t c : text) {
    const char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
    bytes += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
  }
  return bytes;
}

TEST_F(ChromeExportsTest, RepairChromeHisReadsBookmarksByByteOrderMark) {
  const std::wstring text = FromAnsi(ChromeStandardBookmarks());
  const std::string encodings[] = {Utf16(text, false), Utf16(text, true),
                                   "\xEF\xBB\xBF" + ChromeStandardBookmarks()};
  for (const std::string &bytes : encodings) {
    MakeChromeHistoryDb(History());
    MakeChromeThumbnailsDb(Thumbnails());
    WriteFileBytes(Bookmarks(), bytes);
    EXPECT_TRUE(RepairChromeHis(Bookmarks(), History(), Thumbnails()));
    EXPECT_EQ(Column(History(), "select id from urls order by id"), (Ids{"1", "2", "4"}));
  }
}

TEST_F(ChromeExportsTest, RepairChromeHisDecodesUrlsAndBookmarksAlike) {
  // Chrome stores UTF-8 in both; without a byte-order mark both sides are
  // decoded with the ANSI code page, so a non-ASCII url still matches.
  MakeChromeHistoryDb(History());
  MakeChromeThumbnailsDb(Thumbnails());
  {
    TTestDb db(History());
    db.Exec("update urls set url = 'http://caf\xc3\xa9.example/' where id = 5");
  }
  WriteFileBytes(Bookmarks(), ChromeBookmarksJson({{"Caf\xc3\xa9", "http://caf\xc3\xa9.example/"}}));
  EXPECT_TRUE(RepairChromeHis(Bookmarks(), History(), Thumbnails()));
  EXPECT_EQ(Column(History(), "select id from urls order by id"), Ids{"5"});
}

TEST_F(ChromeExportsTest, RepairChromeHisMatchesLikeTheTextSearch) {
  // Mend: the bookmark test runs in linear time over the texts between
  // consecutive double quotes, with the plain search for a url that holds a
  // double quote itself; the answers are those of the search.
  MakeChromeHistoryDb(History());
  MakeChromeThumbnailsDb(Thumbnails());
  {
    TTestDb db(History());
    db.Exec("update urls set url = 'http://q.example/?a=\"b\"' where id = 3;"
            "update urls set url = ': ' where id = 5;"          // between a name and its value
            "update urls set url = 'http://x.example/\"' where id = 6;"); // quote, not found
  }
  WriteFileBytes(Bookmarks(), "{ \"name\": \"N\", \"raw\": \"http://q.example/?a=\"b\"\" }");
  EXPECT_TRUE(RepairChromeHis(Bookmarks(), History(), Thumbnails()));
  EXPECT_EQ(Column(History(), "select id from urls order by id"), (Ids{"3", "5"}));
}

TEST_F(ChromeExportsTest, RepairChromeHisManyUrls) {
  // Every third of 6000 urls is bookmarked, in a Bookmarks file of that size.
  MakeChromeHistoryDb(History());
  MakeChromeThumbnailsDb(Thumbnails());
  std::vector<std::pair<std::string, std::string>> marks;
  {
    TTestDb db(History());
    db.Exec("delete from urls; BEGIN");
    for (int i = 1; i <= 6000; ++i) {
      const std::string url = "http://site" + std::to_string(i) + ".example/page";
      db.Exec("insert into urls values (" + std::to_string(i) + ",'" + url + "','t',1,0,1,0," +
              std::to_string(i % 7) + ")");
      if (i % 3 == 0)
        marks.emplace_back("Site " + std::to_string(i), url);
    }
    db.Exec("COMMIT");
  }
  WriteFileBytes(Bookmarks(), ChromeBookmarksJson(marks));
  EXPECT_TRUE(RepairChromeHis(Bookmarks(), History(), Thumbnails()));
  TTestDb db(History());
  EXPECT_EQ(db.Count("urls"), 2000);
  EXPECT_EQ(db.Count("urls", "id % 3 <> 0"), 0);
  // Kept urls use every favicon id 0-6, so all five icons of the fixture stay.
  EXPECT_EQ(Column(Thumbnails(), "select id from favicons order by id"), (Ids{"1", "2", "3", "4", "5"}));
}

TEST_F(ChromeExportsTest, RepairChromeHisKeptUrlWithNullFavicon) {
  // Mend: a NULL favicon id is left out of the list; before, the statement
  // "... not id in(1,,1)" failed after the urls were deleted.
  MakeChromeHistoryDb(History(), /*nullableFavicon=*/true);
  MakeChromeThumbnailsDb(Thumbnails());
  {
    TTestDb db(History());
    db.Exec("update urls set favicon_id = NULL where id = 2");
  }
  WriteFileBytes(Bookmarks(), ChromeStandardBookmarks());
  EXPECT_TRUE(RepairChromeHis(Bookmarks(), History(), Thumbnails()));
  EXPECT_EQ(Column(History(), "select id from urls order by id"), (Ids{"1", "2", "4"}));
  EXPECT_EQ(Column(Thumbnails(), "select id from favicons order by id"), (Ids{"1", "3"}));
}

TEST_F(ChromeExportsTest, RepairChromeHisFailurePartWayLeavesBothFilesAsTheyWere) {
  // Mend: one transaction per database. The thumbnails statement fails (no
  // url_id column) after urls and favicons were deleted in the transaction.
  MakeChromeHistoryDb(History());
  {
    TTestDb db(Thumbnails());
    db.Exec("CREATE TABLE favicons(id INTEGER PRIMARY KEY,url LONGVARCHAR NOT NULL);"
            "CREATE TABLE thumbnails (id INTEGER PRIMARY KEY, data BLOB);"
            "insert into favicons values (1,'a'),(4,'b'); insert into thumbnails values (1,x'00')");
  }
  WriteFileBytes(Bookmarks(), ChromeStandardBookmarks());
  const std::string history = ReadFileBytes(History()), thumbnails = ReadFileBytes(Thumbnails());
  EXPECT_FALSE(RepairChromeHis(Bookmarks(), History(), Thumbnails()));
  EXPECT_EQ(ReadFileBytes(History()), history);
  EXPECT_EQ(ReadFileBytes(Thumbnails()), thumbnails);
  EXPECT_EQ(Column(History(), "select count(*) from urls"), Ids{"6"});
}

TEST_F(ChromeExportsTest, RepairChromeHisMissingThumbnailsBecomesAnEmptyDatabase) {
  MakeChromeHistoryDb(History());
  WriteFileBytes(Bookmarks(), ChromeStandardBookmarks());
  EXPECT_TRUE(RepairChromeHis(Bookmarks(), History(), Thumbnails()));
  EXPECT_TRUE(PathExists(Thumbnails()));
  EXPECT_EQ(Column(Thumbnails(), "select count(*) from sqlite_master"), Ids{"0"});
  EXPECT_EQ(Column(History(), "select id from urls order by id"), (Ids{"1", "2", "4"}));
}

TEST_F(ChromeExportsTest, RepairChromeHisMissingHistoryBecomesAnEmptyDatabase) {
  MakeChromeThumbnailsDb(Thumbnails());
  EXPECT_TRUE(RepairChromeHis(Bookmarks(), History(), Thumbnails()));
  EXPECT_TRUE(PathExists(History()));
  EXPECT_EQ(Column(Thumbnails(), "select count(*) from favicons"), Ids{"0"});
}

TEST_F(ChromeExportsTest, RepairChromeHisUnreadableBookmarksOpensNoDatabase) {
  MakeChromeThumbnailsDb(Thumbnails());
  WriteFileBytes(Bookmarks(), ChromeStandardBookmarks());
  const std::string thumbnails = ReadFileBytes(Thumbnails());
  {
    UniqueFile held(::CreateFileW(Bookmarks().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held.Valid());
    EXPECT_FALSE(RepairChromeHis(Bookmarks(), History(), Thumbnails()));
  }
  EXPECT_FALSE(PathExists(History()));
  EXPECT_EQ(ReadFileBytes(Thumbnails()), thumbnails);
}

} // namespace
