#pragma once
// Fixture helpers for the Drevka tests: a direct SQLite connection for
// building databases and checking rows, Chrome's Bookmarks file, and calls
// of Drevka.dll bound the way the program binds them (LoadLibraryW +
// GetProcAddress by name, FreeLibrary after every call).
#include "BrowserSchemas.h"
#include "browserdb/DrevkaApi.h"

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace velmora::test {

// A connection of the test's own (not Drevka's) to a database file.
class TTestDb {
public:
  explicit TTestDb(const std::wstring &path);
  ~TTestDb();
  TTestDb(const TTestDb &) = delete;
  TTestDb &operator=(const TTestDb &) = delete;

  void Exec(const std::string &sql);
  int64_t Count(const std::string &table, const std::string &where = "");
  // The first column of every row, as UTF-8 text ("<null>" for NULL).
  std::vector<std::string> Column(const std::string &sql);
  sqlite3 *Handle() const { return db_; }

private:
  sqlite3 *db_ = nullptr;
};

// Chrome's Bookmarks JSON with the given (name, url) bookmarks on the
// bookmark bar.
std::string ChromeBookmarksJson(const std::vector<std::pair<std::string, std::string>> &bookmarks);

// Fixture builders (each creates a new file, replacing any old one).
void MakeFirefoxCookies(const std::wstring &path, const std::vector<const char *> &hosts);
void MakeChromeCookies(const std::wstring &path, const std::vector<const char *> &hosts);

// places.sqlite of a Firefox 3 profile:
//   places 1-3 visited, place 2 bookmarked; place 4 bookmarked, never
//   visited; place 5 neither; place 6 visited, no icon. With withFolders,
//   Firefox's own folders and a separator (bookmarks whose fk is NULL).
//   A history repair keeps places 2, 4 and 5.
void MakeFirefoxPlaces(const std::wstring &path, bool withFolders = true);
// Chrome's History: urls 1 and 2 bookmarked (see ChromeStandardBookmarks),
// url 3 differs from url 1 only in letter case, url 4 is quoted in the
// Bookmarks as a name only, urls 5 and 6 plain history; one download.
// A history repair with the standard bookmarks keeps urls 1, 2 and 4.
void MakeChromeHistoryDb(const std::wstring &path, bool nullableFavicon = false);
// Chrome's Thumbnails for the urls of MakeChromeHistoryDb (favicon 5 unused).
void MakeChromeThumbnailsDb(const std::wstring &path);
// The Bookmarks text that goes with MakeChromeHistoryDb.
std::string ChromeStandardBookmarks();
// Chrome's Web Data: two autofill entries with their dates, one keyword.
void MakeChromeWebDataDb(const std::wstring &path);

// ---- Chromium profiles of today, built from the browsers' own CREATE
// TABLE scripts (CurrentSchemas.h) of Chrome 96 and of a current Chrome ----
enum class TChromiumSchema { Chrome96, Current };
// The bookmarked address of the fixtures below, and a Bookmarks text
// holding it.
inline constexpr char kChromiumKeptUrl[] = "https://kept.example/";
std::string ChromiumBookmarks();
// History: url 1 kChromiumKeptUrl, urls 2 and 3 plain history; one visit
// per url with its visit_source, annotations and cluster; a keyword term
// and a segment of url 2; visited links of urls 1 and 2; one download with
// a two-address chain and a slice. withFaviconId adds the urls.favicon_id
// column that profiles carried over from older versions keep (url 1 has icon 1).
void MakeChromiumHistory(const std::wstring &path, TChromiumSchema schema,
                         bool withFaviconId = false);
// Favicons: icon 1 of the kept page, icon 2 of url 2, each with a bitmap.
void MakeChromiumFavicons(const std::wstring &path, TChromiumSchema schema);
// Top Sites (the kept page and url 2) and Shortcuts (one of each).
void MakeChromiumTopSites(const std::wstring &path, TChromiumSchema schema);
void MakeChromiumShortcuts(const std::wstring &path);
// Network\Cookies with one cookie per host.
void MakeChromiumCookies(const std::wstring &path, TChromiumSchema schema,
                         const std::vector<const char *> &hosts);
// Web Data: two autofill entries, one card, one address, one keyword.
void MakeChromiumWebData(const std::wstring &path, TChromiumSchema schema);
// Login Data with one saved password.
void MakeChromiumLoginData(const std::wstring &path, TChromiumSchema schema);

// Drevka.dll, bound afresh for each call.
std::wstring ScanMozCk(const std::wstring &path, BSTR initialSlot = nullptr,
                       bool *wasNull = nullptr);
std::wstring ScanChromeCk(const std::wstring &path, BSTR initialSlot = nullptr,
                          bool *wasNull = nullptr);
bool RepairMozCk(const std::wstring &path);
bool RepairMozHis(const std::wstring &path);
// Today's Firefox.
std::wstring ScanMozDown(const std::wstring &path);
bool RepairMozDown(const std::wstring &path);
std::wstring ScanMozForm(const std::wstring &path);
bool RepairMozForm(const std::wstring &path);
bool RepairChromeCk(const std::wstring &path);
bool RepairChromeDown(const std::wstring &path);
bool RepairChromeFill(const std::wstring &path);
bool RepairChromeHis(const std::wstring &bookmarks, const std::wstring &history,
                     const std::wstring &thumbnails);

bool RepairChromePages(const std::wstring &bookmarks, const std::wstring &database);

// "aa.log" beside the test program (where Drevka writes its repair log).
std::wstring RepairLogPath();
std::vector<std::wstring> RepairLogLines();

} // namespace velmora::test
