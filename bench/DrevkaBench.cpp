// Drevka benchmark: builds a large Firefox 3 places.sqlite and a large Chrome
// profile with SQLite, then times RepairMozHis and RepairChromeHis called
// through Drevka.dll as the program calls them (LoadLibraryW, GetProcAddress,
// the call, FreeLibrary), and RepairMozHis of the last build on today's
// places.sqlite with its favicons.sqlite. Prints its figures; run by
// bench/drevka-bench.sh.
#include "BrowserSchemas.h"
#include "CurrentFirefoxSchemas.h"
#include "CurrentSchemas.h"
#include "base/Text.h"
#include "browserdb/DrevkaApi.h"

#include <sqlite3.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

using namespace velmora;
namespace schema = velmora::test::schema;

namespace {

constexpr int kPlaces = 200000, kMozVisits = 1000000, kMozBookmarks = 5000, kMozIcons = 20000;
constexpr int kUrls = 200000, kChromeVisits = 1000000, kSegments = 20000, kChromeIcons = 20000,
              kThumbnails = 2000;
constexpr size_t kBookmarksBytes = 1 << 20;

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  ::QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

class TDb {
public:
  explicit TDb(const std::wstring &path) {
    ::DeleteFileW(path.c_str());
    if (sqlite3_open(ToUtf8(path).c_str(), &db_) != SQLITE_OK)
      throw std::runtime_error("cannot create database");
    Exec("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; PRAGMA cache_size = -65536");
  }
  ~TDb() { sqlite3_close(db_); }
  void Exec(const std::string &sql) {
    char *error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK)
      throw std::runtime_error(std::string(error ? error : "?") + " in " + sql.substr(0, 100));
  }
  // Inserts `count` rows with `sql`, whose parameters ?1.. are bound by
  // `bind`(statement, row number from 1).
  template <class Bind> void Insert(const char *sql, int count, Bind &&bind) {
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr) != SQLITE_OK)
      throw std::runtime_error(std::string(sqlite3_errmsg(db_)) + " in " + sql);
    for (int i = 1; i <= count; ++i) {
      bind(stmt, i);
      if (sqlite3_step(stmt) != SQLITE_DONE)
        throw std::runtime_error(std::string(sqlite3_errmsg(db_)) + " in " + sql);
      sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
  }
  int64_t Count(const std::string &table) {
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db_, ("select count(*) from " + table).c_str(), -1, &stmt, nullptr);
    int64_t n = -1;
    if (sqlite3_step(stmt) == SQLITE_ROW)
      n = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return n;
  }

private:
  sqlite3 *db_ = nullptr;
};

void Text(sqlite3_stmt *stmt, int column, const std::string &value) {
  sqlite3_bind_text(stmt, column, value.c_str(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
}

std::string PlaceUrl(int i) {
  return "http://www.site" + std::to_string(i % 9973) + ".example.com/articles/" +
         std::to_string(i) + "/page.html?ref=history";
}

void MakePlaces(const std::wstring &path) {
  TDb db(path);
  db.Exec(schema::kFirefoxPlaces);
  db.Exec("BEGIN");
  db.Insert("insert into moz_favicons values (?1, ?2, x'89504e470d0a1a0a0000000d49484452', "
            "'image/png', 0)",
            kMozIcons, [](sqlite3_stmt *s, int i) {
              sqlite3_bind_int(s, 1, i);
              Text(s, 2, "http://www.site" + std::to_string(i) + ".example.com/favicon.ico");
            });
  db.Insert("insert into moz_places values (?1, ?2, ?3, ?4, 5, 0, 0, ?5, 100)", kPlaces,
            [](sqlite3_stmt *s, int i) {
              sqlite3_bind_int(s, 1, i);
              Text(s, 2, PlaceUrl(i));
              Text(s, 3, "Article " + std::to_string(i));
              Text(s, 4, "moc.elpmaxe." + std::to_string(i % 9973) + "etis.www.");
              if (i % 10 == 3)
                sqlite3_bind_null(s, 5); // pages without an icon
              else
                sqlite3_bind_int(s, 5, 1 + i % kMozIcons);
            });
  db.Insert("insert into moz_historyvisits values (?1, ?2, ?3, ?4, 1, ?5)", kMozVisits,
            [](sqlite3_stmt *s, int i) {
              sqlite3_bind_int(s, 1, i);
              sqlite3_bind_int(s, 2, i > 1 ? i - 1 : 0);
              sqlite3_bind_int(s, 3, 1 + (i * 7) % kPlaces);
              sqlite3_bind_int64(s, 4, 1230000000000000LL + i * 1000000LL);
              sqlite3_bind_int(s, 5, i / 20);
            });
  // Firefox's root folders (fk NULL), then the bookmarks.
  db.Exec("insert into moz_bookmarks (id,type,fk,parent,position,title) values "
          "(1,2,NULL,0,0,NULL),(2,2,NULL,1,0,'Bookmarks Menu'),(3,2,NULL,1,1,'Bookmarks Toolbar'),"
          "(4,2,NULL,1,2,'Tags'),(5,2,NULL,1,3,'Unsorted Bookmarks')");
  db.Insert("insert into moz_bookmarks values (?1, 1, ?2, 2, ?3, ?4, NULL, NULL, 1230000000000000, "
            "1230000000000000)",
            kMozBookmarks, [](sqlite3_stmt *s, int i) {
              sqlite3_bind_int(s, 1, 5 + i);
              sqlite3_bind_int(s, 2, i * (kPlaces / kMozBookmarks));
              sqlite3_bind_int(s, 3, i);
              Text(s, 4, "Bookmark " + std::to_string(i));
            });
  db.Exec("COMMIT");
}

// Today's places.sqlite (schema 77, WAL) with favicons.sqlite beside it:
// every place with an origin, a page icon for most, typed input, page
// metadata, download annotations for some.
void MakeTodaysPlaces(const std::wstring &folder) {
  {
    TDb db(folder + L"places.sqlite");
    db.Exec("PRAGMA journal_mode = WAL");
    db.Exec(velmora::testschemas::kFirefoxPlacesV77);
    db.Exec("BEGIN");
    db.Insert("insert into moz_origins(id, prefix, host, frecency) values (?1, 'http://', ?2, 1)",
              9973, [](sqlite3_stmt *s, int i) {
                sqlite3_bind_int(s, 1, i);
                Text(s, 2, "www.site" + std::to_string(i - 1) + ".example.com");
              });
    db.Insert("insert into moz_places(id, url, title, rev_host, visit_count, frecency, guid, "
              "url_hash, origin_id) values (?1, ?2, ?3, ?4, 5, 100, ?5, ?1, ?6)",
              kPlaces, [](sqlite3_stmt *s, int i) {
                sqlite3_bind_int(s, 1, i);
                Text(s, 2, PlaceUrl(i));
                Text(s, 3, "Article " + std::to_string(i));
                Text(s, 4, "moc.elpmaxe." + std::to_string(i % 9973) + "etis.www.");
                Text(s, 5, "guid" + std::to_string(i));
                sqlite3_bind_int(s, 6, 1 + i % 9973);
              });
    db.Insert("insert into moz_historyvisits(id, from_visit, place_id, visit_date, visit_type, "
              "session, source) values (?1, ?2, ?3, ?4, ?5, 0, 0)",
              kMozVisits, [](sqlite3_stmt *s, int i) {
                sqlite3_bind_int(s, 1, i);
                sqlite3_bind_int(s, 2, i > 1 ? i - 1 : 0);
                sqlite3_bind_int(s, 3, 1 + (i * 7) % kPlaces);
                sqlite3_bind_int64(s, 4, 1700000000000000LL + i * 1000000LL);
                sqlite3_bind_int(s, 5, i % 500 == 0 ? 7 : 1);
              });
    db.Exec("insert into moz_bookmarks (id,type,fk,parent,position,title) values "
            "(1,2,NULL,0,0,NULL),(2,2,NULL,1,0,'menu'),(3,2,NULL,1,1,'toolbar'),"
            "(4,2,NULL,1,2,'tags'),(5,2,NULL,1,3,'unfiled')");
    db.Insert("insert into moz_bookmarks(id, type, fk, parent, position, title) values (?1, 1, "
              "?2, 2, ?3, ?4)",
              kMozBookmarks, [](sqlite3_stmt *s, int i) {
                sqlite3_bind_int(s, 1, 5 + i);
                sqlite3_bind_int(s, 2, i * (kPlaces / kMozBookmarks));
                sqlite3_bind_int(s, 3, i);
                Text(s, 4, "Bookmark " + std::to_string(i));
              });
    db.Insert("insert into moz_inputhistory values (?1, ?2, 1)", 20000, [](sqlite3_stmt *s, int i) {
      sqlite3_bind_int(s, 1, i * 10);
      Text(s, 2, "input" + std::to_string(i));
    });
    db.Exec("insert into moz_anno_attributes values (1, 'downloads/destinationFileURI'), "
            "(2, 'downloads/metaData')");
    db.Insert("insert into moz_annos(place_id, anno_attribute_id, content) values (?1, 1 + ?2 "
              "% 2, ?3)",
              4000, [](sqlite3_stmt *s, int i) {
                sqlite3_bind_int(s, 1, 1 + (i / 2) * 50);
                sqlite3_bind_int(s, 2, i);
                Text(s, 3, "file:///C:/Downloads/file" + std::to_string(i));
              });
    db.Insert("insert into moz_places_metadata(id, place_id, created_at, updated_at, "
              "total_view_time) values (?1, ?2, 1, 1, 1)",
              50000, [](sqlite3_stmt *s, int i) {
                sqlite3_bind_int(s, 1, i);
                sqlite3_bind_int(s, 2, i * 4);
              });
    db.Insert("insert into moz_places_extra values (?1, '{}')", 20000,
              [](sqlite3_stmt *s, int i) { sqlite3_bind_int(s, 1, i * 10); });
    db.Exec("COMMIT");
  }
  TDb db(folder + L"favicons.sqlite");
  db.Exec("PRAGMA journal_mode = WAL");
  db.Exec(velmora::testschemas::kFirefoxFaviconsV78);
  db.Exec("BEGIN");
  db.Insert("insert into moz_pages_w_icons values (?1, ?2, ?1)", kMozIcons,
            [](sqlite3_stmt *s, int i) {
              sqlite3_bind_int(s, 1, i);
              Text(s, 2, PlaceUrl(i * (kPlaces / kMozIcons)));
            });
  db.Insert("insert into moz_icons(id, icon_url, fixed_icon_url_hash, width, root, data) values "
            "(?1, ?2, ?1, 16, ?3, x'89504e470d0a1a0a0000000d49484452')",
            kMozIcons, [](sqlite3_stmt *s, int i) {
              sqlite3_bind_int(s, 1, i);
              const bool root = i % 4 == 0;
              Text(s, 2,
                   "http://www.site" + std::to_string(i % 9973) + ".example.com/" +
                       (root ? "favicon.ico" : "icon" + std::to_string(i) + ".png"));
              sqlite3_bind_int(s, 3, root ? 1 : 0);
            });
  db.Insert("insert into moz_icons_to_pages(page_id, icon_id) values (?1, ?1)", kMozIcons,
            [](sqlite3_stmt *s, int i) {
              if (i % 4 == 0) // root icons are found by their site, not linked
                sqlite3_bind_int(s, 1, -i);
              else
                sqlite3_bind_int(s, 1, i);
            });
  db.Exec("COMMIT");
}

std::string ChromeUrl(int i) {
  return "http://www.site" + std::to_string(i % 9973) + ".example.org/news/" + std::to_string(i) +
         "/story.html";
}

// A Bookmarks file of at least kBookmarksBytes, bookmarking every 37th url.
std::string MakeBookmarksText(int *count) {
  std::string json = "{\n   \"roots\": {\n      \"bookmark_bar\": {\n         \"children\": [ ";
  *count = 0;
  for (int i = 37; json.size() < kBookmarksBytes; i += 37) {
    json += (*count ? ", {\n" : "{\n");
    json += "            \"date_added\": \"12893456789012345\",\n";
    json += "            \"id\": \"" + std::to_string(*count + 3) + "\",\n";
    json += "            \"name\": \"Story " + std::to_string(i) + " - example news\",\n";
    json += "            \"type\": \"url\",\n";
    json += "            \"url\": \"" + ChromeUrl(i) + "\"\n         }";
    ++*count;
  }
  json +=
      " ],\n         \"date_added\": \"0\",\n         \"date_modified\": \"0\",\n         "
      "\"id\": \"1\",\n         \"name\": \"Bookmarks bar\",\n         \"type\": \"folder\"\n"
      "      },\n      \"other\": {\n         \"children\": [  ],\n         \"date_added\": "
      "\"0\",\n         \"date_modified\": \"0\",\n         \"id\": \"2\",\n         \"name\": "
      "\"Other bookmarks\",\n         \"type\": \"folder\"\n      }\n   },\n   \"version\": 1\n}\n";
  return json;
}

void MakeChromeProfile(const std::wstring &folder, int *bookmarks) {
  {
    TDb db(folder + L"History");
    db.Exec(schema::kChromeHistoryMeta);
    db.Exec(schema::kChromeUrls);
    db.Exec(schema::kChromeHistoryRest);
    db.Exec("BEGIN; insert into meta values ('version','16'),('last_compatible_version','16')");
    db.Insert("insert into urls values (?1, ?2, ?3, 5, 0, 12890000000000000, 0, ?4)", kUrls,
              [](sqlite3_stmt *s, int i) {
                sqlite3_bind_int(s, 1, i);
                Text(s, 2, ChromeUrl(i));
                Text(s, 3, "Story " + std::to_string(i));
                sqlite3_bind_int(s, 4, i % 10 == 0 ? 0 : 1 + i % kChromeIcons);
              });
    db.Insert("insert into visits values (?1, ?2, ?3, ?4, 805306369, ?5, 1)", kChromeVisits,
              [](sqlite3_stmt *s, int i) {
                sqlite3_bind_int(s, 1, i);
                sqlite3_bind_int(s, 2, 1 + (i * 7) % kUrls);
                sqlite3_bind_int64(s, 3, 12890000000000000LL + i * 1000000LL);
                sqlite3_bind_int(s, 4, i > 1 ? i - 1 : 0);
                sqlite3_bind_int(s, 5, i % kSegments);
              });
    db.Insert("insert into segments values (?1, ?2, ?3, -1)", kSegments,
              [](sqlite3_stmt *s, int i) {
                sqlite3_bind_int(s, 1, i);
                Text(s, 2, "http://www.site" + std::to_string(i) + ".example.org/");
                sqlite3_bind_int(s, 3, i * (kUrls / kSegments));
              });
    db.Insert("insert into segment_usage values (?1, ?2, 12890000000000000, 3)", 2 * kSegments,
              [](sqlite3_stmt *s, int i) {
                sqlite3_bind_int(s, 1, i);
                sqlite3_bind_int(s, 2, 1 + i % kSegments);
              });
    db.Insert("insert into keyword_search_terms values (2, ?1, ?2, ?2)", 5000,
              [](sqlite3_stmt *s, int i) {
                sqlite3_bind_int(s, 1, i * 40);
                Text(s, 2, "search term " + std::to_string(i));
              });
    db.Insert("insert into presentation values (?1, ?2)", 9, [](sqlite3_stmt *s, int i) {
      sqlite3_bind_int(s, 1, i * 1000);
      sqlite3_bind_int(s, 2, i - 1);
    });
    db.Exec("COMMIT");
  }
  {
    TDb db(folder + L"Thumbnails");
    db.Exec(schema::kChromeThumbnails);
    db.Exec("BEGIN");
    db.Insert("insert into favicons values (?1, ?2, 12890000000000000, ?3)", kChromeIcons,
              [](sqlite3_stmt *s, int i) {
                sqlite3_bind_int(s, 1, i);
                Text(s, 2, "http://www.site" + std::to_string(i) + ".example.org/favicon.ico");
                static const std::string png(300, '\x7f');
                sqlite3_bind_blob(s, 3, png.data(), static_cast<int>(png.size()), SQLITE_STATIC);
              });
    db.Insert("insert into thumbnails values (?1, 1.0, 1, 1, 12890000000000000, ?2)", kThumbnails,
              [](sqlite3_stmt *s, int i) {
                sqlite3_bind_int(s, 1, i * (kUrls / kThumbnails));
                static const std::string jpeg(3000, '\x55');
                sqlite3_bind_blob(s, 2, jpeg.data(), static_cast<int>(jpeg.size()), SQLITE_STATIC);
              });
    db.Exec("COMMIT");
  }
  const std::string text = MakeBookmarksText(bookmarks);
  HANDLE f = ::CreateFileW((folder + L"Bookmarks").c_str(), GENERIC_WRITE, 0, nullptr,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  ::WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(f);
}

// Today's Chrome profile (History v70, Favicons v9) with the same urls and
// Bookmarks: visits with their annotations, visited links, clusters, and
// one page-to-icon mapping per url.
void MakeCurrentChromeProfile(const std::wstring &folder) {
  {
    TDb db(folder + L"History");
    db.Exec(velmora::testschemas::kChromeHistoryV70);
    db.Exec("BEGIN");
    db.Insert("insert into urls(id,url,title,visit_count,last_visit_time) values "
              "(?1, ?2, ?3, 5, 13300000000000000)",
              kUrls, [](sqlite3_stmt *s, int i) {
                sqlite3_bind_int(s, 1, i);
                Text(s, 2, ChromeUrl(i));
                Text(s, 3, "Story " + std::to_string(i));
              });
    db.Insert("insert into visits(id,url,visit_time,from_visit,transition,segment_id,"
              "visited_link_id) values (?1, ?2, ?3, ?4, 805306369, ?5, ?2)",
              kChromeVisits, [](sqlite3_stmt *s, int i) {
                sqlite3_bind_int(s, 1, i);
                sqlite3_bind_int(s, 2, 1 + (i * 7) % kUrls);
                sqlite3_bind_int64(s, 3, 13300000000000000LL + i * 1000000LL);
                sqlite3_bind_int(s, 4, i > 1 ? i - 1 : 0);
                sqlite3_bind_int(s, 5, i % kSegments);
              });
    db.Insert("insert into visit_source values (?1, 1)", kChromeVisits / 10,
              [](sqlite3_stmt *s, int i) { sqlite3_bind_int(s, 1, i * 10); });
    db.Insert("insert into content_annotations(visit_id,annotation_flags,has_url_keyed_image) "
              "values (?1, 0, 0)",
              kChromeVisits / 5, [](sqlite3_stmt *s, int i) { sqlite3_bind_int(s, 1, i * 5); });
    db.Insert("insert into context_annotations(visit_id,context_annotation_flags) values (?1, 0)",
              kChromeVisits / 5, [](sqlite3_stmt *s, int i) { sqlite3_bind_int(s, 1, i * 5); });
    db.Insert("insert into clusters values (?1, 1, 'label', 'label', 1, '', 0)", 10000,
              [](sqlite3_stmt *s, int i) { sqlite3_bind_int(s, 1, i); });
    db.Insert("insert into clusters_and_visits(cluster_id,visit_id,url_for_deduping,"
              "normalized_url,url_for_display) values (?1, ?2, 'u', 'u', 'u')",
              50000, [](sqlite3_stmt *s, int i) {
                sqlite3_bind_int(s, 1, 1 + i % 10000);
                sqlite3_bind_int(s, 2, i * 20);
              });
    db.Insert("insert into cluster_keywords values (?1, 'keyword', 0, 1, '')", 10000,
              [](sqlite3_stmt *s, int i) { sqlite3_bind_int(s, 1, i); });
    db.Insert("insert into visited_links values (?1, ?1, ?2, ?2, 1)", kUrls,
              [](sqlite3_stmt *s, int i) {
                sqlite3_bind_int(s, 1, i);
                Text(s, 2, "https://www.site" + std::to_string(i % 9973) + ".example.org/");
              });
    db.Insert("insert into segments values (?1, ?2, ?3)", kSegments, [](sqlite3_stmt *s, int i) {
      sqlite3_bind_int(s, 1, i);
      Text(s, 2, "http://www.site" + std::to_string(i) + ".example.org/");
      sqlite3_bind_int(s, 3, i * (kUrls / kSegments));
    });
    db.Insert("insert into segment_usage values (?1, ?2, 13300000000000000, 3)", 2 * kSegments,
              [](sqlite3_stmt *s, int i) {
                sqlite3_bind_int(s, 1, i);
                sqlite3_bind_int(s, 2, 1 + i % kSegments);
              });
    db.Insert("insert into keyword_search_terms values (2, ?1, ?2, ?2)", 5000,
              [](sqlite3_stmt *s, int i) {
                sqlite3_bind_int(s, 1, i * 40);
                Text(s, 2, "search term " + std::to_string(i));
              });
    db.Exec("COMMIT");
  }
  {
    TDb db(folder + L"Favicons");
    db.Exec(velmora::testschemas::kChromeFaviconsV9);
    db.Exec("BEGIN");
    db.Insert("insert into favicons(id,url) values (?1, ?2)", kChromeIcons,
              [](sqlite3_stmt *s, int i) {
                sqlite3_bind_int(s, 1, i);
                Text(s, 2, "http://www.site" + std::to_string(i) + ".example.org/favicon.ico");
              });
    db.Insert("insert into favicon_bitmaps(id,icon_id,image_data) values (?1, ?1, ?2)",
              kChromeIcons, [](sqlite3_stmt *s, int i) {
                sqlite3_bind_int(s, 1, i);
                static const std::string png(300, '\x7f');
                sqlite3_bind_blob(s, 2, png.data(), static_cast<int>(png.size()), SQLITE_STATIC);
              });
    db.Insert("insert into icon_mapping(id,page_url,icon_id) values (?1, ?2, ?3)", kUrls,
              [](sqlite3_stmt *s, int i) {
                sqlite3_bind_int(s, 1, i);
                Text(s, 2, ChromeUrl(i));
                sqlite3_bind_int(s, 3, 1 + i % kChromeIcons);
              });
    db.Exec("COMMIT");
  }
}

int64_t FileSize(const std::wstring &path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
    return -1;
  return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The Drevka.dll the calls bind (with its sqlite3.dll beside it).
std::wstring g_library;

// One call bound as the program binds it; returns the seconds it took.
template <class Fn, class... Args> double TimedCall(const char *name, bool *result, Args... args) {
  const double start = Now();
  HMODULE library = ::LoadLibraryExW(g_library.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!library)
    throw std::runtime_error("cannot load Drevka.dll");
  auto fn = reinterpret_cast<Fn>(::GetProcAddress(library, name));
  if (!fn)
    throw std::runtime_error(std::string("no export ") + name);
  *result = fn(args...);
  ::FreeLibrary(library);
  return Now() - start;
}

std::wstring ProgramFolder() {
  wchar_t buf[MAX_PATH + 1] = {};
  const DWORD n = ::GetModuleFileNameW(nullptr, buf, MAX_PATH);
  return ExtractFilePath(std::wstring(buf, n));
}

} // namespace

// A build of Drevka.dll to time: its label and its folder below the program's.
struct TBuild {
  std::string label;
  std::wstring folder;
};

void Restore(const std::wstring &folder, const wchar_t *name) {
  if (!::CopyFileW((folder + name + L".orig").c_str(), (folder + name).c_str(), FALSE))
    throw std::runtime_error("cannot restore a database");
  ::DeleteFileW((folder + name + L"-journal").c_str());
}

void Keep(const std::wstring &folder, const wchar_t *name) {
  if (!::CopyFileW((folder + name).c_str(), (folder + name + L".orig").c_str(), FALSE))
    throw std::runtime_error("cannot copy a database");
}

// drevka_bench [label=folder ...]: times each build of Drevka.dll on the
// same databases (restored before every call); without arguments the
// Drevka.dll beside the program.
int main(int argc, char **argv) {
  try {
    std::vector<TBuild> builds;
    for (int i = 1; i < argc; ++i) {
      const std::string arg = argv[i];
      const size_t eq = arg.find('=');
      builds.push_back({arg.substr(0, eq),
                        eq == std::string::npos ? std::wstring() : FromUtf8(arg.substr(eq + 1))});
    }
    if (builds.empty())
      builds.push_back({"this build", L""});
    wchar_t temp[MAX_PATH + 1];
    ::GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring folder = std::wstring(temp) + L"velmora-drevka-bench\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring places = folder + L"places.sqlite";

    double t = Now();
    MakePlaces(places);
    Keep(folder, L"places.sqlite");
    std::printf("Firefox places.sqlite: %d places, %d visits, %d bookmarks, %d icons, %.1f MB "
                "(built in %.1f s)\n",
                kPlaces, kMozVisits, kMozBookmarks, kMozIcons, FileSize(places) / 1048576.0,
                Now() - t);
    int bookmarks = 0;
    t = Now();
    MakeChromeProfile(folder, &bookmarks);
    for (const wchar_t *name : {L"History", L"Thumbnails"})
      Keep(folder, name);
    std::printf(
        "Chrome profile: %d urls, %d visits, History %.1f MB, Thumbnails %.1f MB, Bookmarks "
        "%lld bytes with %d bookmarks (built in %.1f s)\n",
        kUrls, kChromeVisits, FileSize(folder + L"History") / 1048576.0,
        FileSize(folder + L"Thumbnails") / 1048576.0,
        static_cast<long long>(FileSize(folder + L"Bookmarks")), bookmarks, Now() - t);
    const std::wstring current = folder + L"Current\\";
    ::CreateDirectoryW(current.c_str(), nullptr);
    t = Now();
    MakeCurrentChromeProfile(current);
    for (const wchar_t *name : {L"History", L"Favicons"})
      Keep(current, name);
    std::printf("Current Chrome profile (History v70, Favicons v9): %d urls, %d visits, History "
                "%.1f MB, Favicons %.1f MB (built in %.1f s)\n",
                kUrls, kChromeVisits, FileSize(current + L"History") / 1048576.0,
                FileSize(current + L"Favicons") / 1048576.0, Now() - t);
    std::fflush(stdout);

    sqlite3 *db = nullptr;
    auto count = [&](const char *sql) {
      sqlite3_stmt *s = nullptr;
      sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
      int64_t n = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int64(s, 0) : -1;
      sqlite3_finalize(s);
      return n;
    };
    bool allOk = true, withinTarget = true;
    std::vector<std::pair<double, double>> times;
    for (const TBuild &build : builds) {
      g_library = ProgramFolder() + build.folder + L"Drevka.dll";
      std::printf("--- %s (%s)\n", build.label.c_str(), ToUtf8(g_library).c_str());
      Restore(folder, L"places.sqlite");
      BSTR placesArg = ::SysAllocString(places.c_str());
      bool ok = false;
      const double mozSeconds =
          TimedCall<drevka::TRepairMozHis>(drevka::kRepairMozHis, &ok, placesArg);
      ::SysFreeString(placesArg);
      allOk = allOk && ok;
      sqlite3_open(ToUtf8(places).c_str(), &db);
      std::printf(
          "RepairMozHis:    %6.2f s  result %s; left %lld places, %lld icons, %lld visits\n",
          mozSeconds, ok ? "true" : "false",
          static_cast<long long>(count("select count(*) from moz_places")),
          static_cast<long long>(count("select count(*) from moz_favicons")),
          static_cast<long long>(count("select count(*) from moz_historyvisits")));
      sqlite3_close(db);
      std::fflush(stdout);

      Restore(folder, L"History");
      Restore(folder, L"Thumbnails");
      BSTR b = ::SysAllocString((folder + L"Bookmarks").c_str());
      BSTR h = ::SysAllocString((folder + L"History").c_str());
      BSTR th = ::SysAllocString((folder + L"Thumbnails").c_str());
      const double chromeSeconds =
          TimedCall<drevka::TRepairChromeHis>(drevka::kRepairChromeHis, &ok, b, h, th);
      ::SysFreeString(b);
      ::SysFreeString(h);
      ::SysFreeString(th);
      allOk = allOk && ok;
      sqlite3_open(ToUtf8(folder + L"History").c_str(), &db);
      const int64_t urls = count("select count(*) from urls"),
                    visits = count("select count(*) from visits");
      sqlite3_close(db);
      sqlite3_open(ToUtf8(folder + L"Thumbnails").c_str(), &db);
      const int64_t icons = count("select count(*) from favicons");
      sqlite3_close(db);
      std::printf(
          "RepairChromeHis: %6.2f s  result %s; left %lld urls, %lld visits, %lld favicons\n",
          chromeSeconds, ok ? "true" : "false", static_cast<long long>(urls),
          static_cast<long long>(visits), static_cast<long long>(icons));
      std::fflush(stdout);
      withinTarget = withinTarget && mozSeconds < 10.0 && chromeSeconds < 10.0;
      times.emplace_back(mozSeconds, chromeSeconds);
    }

    // Today's schema, with the library of the last build.
    const std::wstring today = folder + L"today\\";
    ::CreateDirectoryW(today.c_str(), nullptr);
    t = Now();
    MakeTodaysPlaces(today);
    std::printf("--- today's places.sqlite (schema 77, WAL): %d places, %d visits, %d bookmarks, "
                "%.1f MB; favicons.sqlite %.1f MB (built in %.1f s)\n",
                kPlaces, kMozVisits, kMozBookmarks, FileSize(today + L"places.sqlite") / 1048576.0,
                FileSize(today + L"favicons.sqlite") / 1048576.0, Now() - t);
    BSTR todayArg = ::SysAllocString((today + L"places.sqlite").c_str());
    bool todayOk = false;
    const double todaySeconds =
        TimedCall<drevka::TRepairMozHis>(drevka::kRepairMozHis, &todayOk, todayArg);
    ::SysFreeString(todayArg);
    sqlite3_open(ToUtf8(today + L"places.sqlite").c_str(), &db);
    const int64_t todayPlaces = count("select count(*) from moz_places"),
                  todayOrigins = count("select count(*) from moz_origins");
    sqlite3_close(db);
    sqlite3_open(ToUtf8(today + L"favicons.sqlite").c_str(), &db);
    const int64_t todayIcons = count("select count(*) from moz_icons");
    sqlite3_close(db);
    std::printf("RepairMozHis:    %6.2f s  result %s; left %lld places, %lld origins, %lld "
                "icons\n",
                todaySeconds, todayOk ? "true" : "false", static_cast<long long>(todayPlaces),
                static_cast<long long>(todayOrigins), static_cast<long long>(todayIcons));
    std::printf("target: today's places.sqlite under 3 s: %s\n",
                todaySeconds < 3.0 ? "met" : "MISSED");
    allOk = allOk && todayOk;
    for (const wchar_t *name : {L"places.sqlite", L"favicons.sqlite"})
      for (const wchar_t *suffix : {L"", L"-wal", L"-shm"})
        ::DeleteFileW((today + name + suffix).c_str());
    ::RemoveDirectoryW(today.c_str());

    bool ratioWithin = true;
    if (times.size() >= 2) {
      const double moz = times.back().first / times.front().first,
                   chrome = times.back().second / times.front().second;
      ratioWithin = moz <= 1.25 && chrome <= 1.25;
      std::printf("%s / %s: RepairMozHis %.2fx, RepairChromeHis %.2fx\n",
                  builds.back().label.c_str(), builds.front().label.c_str(), moz, chrome);
      std::printf("target: each at most 1.25x: %s\n", ratioWithin ? "met" : "MISSED");
    }
    std::printf("target: each under 10 s: %s\n", withinTarget ? "met" : "MISSED");

    // Today's schema, with this build only (the builds before it cannot
    // read a History without urls.favicon_id).
    {
      // Three runs on the restored databases; the median is the figure (the
      // machine's other work moves single runs by seconds).
      std::vector<double> runs;
      for (int run = 0; run < 3; ++run) {
        Restore(current, L"History");
        Restore(current, L"Favicons");
        BSTR b = ::SysAllocString((folder + L"Bookmarks").c_str());
        BSTR h = ::SysAllocString((current + L"History").c_str());
        BSTR f = ::SysAllocString((current + L"Favicons").c_str());
        bool ok = false;
        const double seconds =
            TimedCall<drevka::TRepairChromeHis>(drevka::kRepairChromeHis, &ok, b, h, f);
        ::SysFreeString(b);
        ::SysFreeString(h);
        ::SysFreeString(f);
        allOk = allOk && ok;
        runs.push_back(seconds);
        sqlite3_open(ToUtf8(current + L"History").c_str(), &db);
        const int64_t urls = count("select count(*) from urls"),
                      visits = count("select count(*) from visits"),
                      links = count("select count(*) from visited_links");
        sqlite3_close(db);
        sqlite3_open(ToUtf8(current + L"Favicons").c_str(), &db);
        const int64_t mappings = count("select count(*) from icon_mapping");
        sqlite3_close(db);
        std::printf("RepairChromeHis on the current schema (%s): %6.2f s  result %s; left %lld "
                    "urls, %lld visits, %lld visited links, %lld icon mappings\n",
                    builds.back().label.c_str(), seconds, ok ? "true" : "false",
                    static_cast<long long>(urls), static_cast<long long>(visits),
                    static_cast<long long>(links), static_cast<long long>(mappings));
        std::fflush(stdout);
      }
      std::sort(runs.begin(), runs.end());
      const bool currentWithin = runs[1] < 3.0;
      std::printf("target: current schema under 3 s (median of 3, %.2f s): %s\n", runs[1],
                  currentWithin ? "met" : "MISSED");
      withinTarget = withinTarget && currentWithin;
      for (const wchar_t *name :
           {L"History", L"Favicons", L"History.orig", L"Favicons.orig", L"History-journal"})
        ::DeleteFileW((current + name).c_str());
      ::RemoveDirectoryW(current.c_str());
    }
    for (const wchar_t *name : {L"places.sqlite", L"History", L"Thumbnails", L"Bookmarks",
                                L"places.sqlite.orig", L"History.orig", L"Thumbnails.orig"})
      ::DeleteFileW((folder + name).c_str());
    ::RemoveDirectoryW(folder.c_str());
    ::DeleteFileW((ProgramFolder() + L"aa.log").c_str());
    return withinTarget && ratioWithin && todaySeconds < 3.0 && allOk ? 0 : 1;
  } catch (const std::exception &e) {
    std::fprintf(stderr, "drevka_bench: %s\n", e.what());
    return 2;
  }
}
