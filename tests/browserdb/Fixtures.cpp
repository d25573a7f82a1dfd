#include "Fixtures.h"
#include "CurrentSchemas.h"

#include "TestSupport.h"
#include "base/Handles.h"
#include "base/Text.h"

#include <stdexcept>

namespace velmora::test {

namespace {

void Fail(const std::string &what) { throw std::runtime_error(what); }

// Binds one export as the program does and calls it.
template <class Fn, class... Args> auto CallDrevka(const char *name, Args... args) {
  UniqueModule library(::LoadLibraryW(drevka::kDrevkaLibrary));
  if (!library)
    Fail("LoadLibraryW(Drevka.dll) failed, error " + std::to_string(::GetLastError()));
  auto fn = reinterpret_cast<Fn>(::GetProcAddress(library.Get(), name));
  if (!fn)
    Fail(std::string("GetProcAddress(") + name + ") failed");
  return fn(args...);
}

// A BSTR argument owned by the caller.
class TBstr {
public:
  explicit TBstr(const std::wstring &s)
      : s_(::SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
  ~TBstr() { ::SysFreeString(s_); }
  TBstr(const TBstr &) = delete;
  TBstr &operator=(const TBstr &) = delete;
  BSTR Get() const { return s_; }

private:
  BSTR s_;
};

template <class Fn>
std::wstring Scan(const char *name, const std::wstring &path, BSTR initialSlot, bool *wasNull) {
  TBstr arg(path);
  BSTR slot = initialSlot;
  CallDrevka<Fn>(name, &slot, arg.Get());
  if (wasNull)
    *wasNull = slot == nullptr;
  std::wstring result = slot ? std::wstring(slot, ::SysStringLen(slot)) : std::wstring();
  ::SysFreeString(slot);
  return result;
}

template <class Fn> bool Repair(const char *name, const std::wstring &path) {
  TBstr arg(path);
  return CallDrevka<Fn>(name, arg.Get());
}

} // namespace

TTestDb::TTestDb(const std::wstring &path) {
  if (sqlite3_open(ToUtf8(path).c_str(), &db_) != SQLITE_OK)
    Fail("sqlite3_open failed: " + std::string(db_ ? sqlite3_errmsg(db_) : "?"));
}

TTestDb::~TTestDb() { sqlite3_close(db_); }

void TTestDb::Exec(const std::string &sql) {
  char *error = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : "?";
    sqlite3_free(error);
    Fail("sqlite3_exec failed: " + message + " in: " + sql.substr(0, 200));
  }
}

int64_t TTestDb::Count(const std::string &table, const std::string &where) {
  const auto rows =
      Column("select count(*) from " + table + (where.empty() ? "" : " where " + where));
  return rows.empty() ? -1 : std::stoll(rows.front());
}

std::vector<std::string> TTestDb::Column(const std::string &sql) {
  sqlite3_stmt *stmt = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
    Fail("sqlite3_prepare_v2 failed: " + std::string(sqlite3_errmsg(db_)) + " in: " + sql);
  std::vector<std::string> values;
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    const auto *text = sqlite3_column_text(stmt, 0);
    values.push_back(text ? reinterpret_cast<const char *>(text) : "<null>");
  }
  sqlite3_finalize(stmt);
  if (rc != SQLITE_DONE)
    Fail("sqlite3_step failed: " + std::string(sqlite3_errmsg(db_)) + " in: " + sql);
  return values;
}

std::string ChromeBookmarksJson(const std::vector<std::pair<std::string, std::string>> &bookmarks) {
  std::string json = "{\n   \"roots\": {\n      \"bookmark_bar\": {\n         \"children\": [ ";
  int id = 3;
  for (size_t i = 0; i < bookmarks.size(); ++i) {
    json += (i ? ", {\n" : "{\n");
    json += "            \"date_added\": \"12893456789012345\",\n";
    json += "            \"id\": \"" + std::to_string(id++) + "\",\n";
    json += "            \"name\": \"" + bookmarks[i].first + "\",\n";
    json += "            \"type\": \"url\",\n";
    json += "            \"url\": \"" + bookmarks[i].second + "\"\n         }";
  }
  json +=
      " ],\n         \"date_added\": \"0\",\n         \"date_modified\": \"12893456789012345\",\n"
      "         \"id\": \"1\",\n         \"name\": \"Bookmarks bar\",\n         \"type\": "
      "\"folder\"\n      },\n      \"other\": {\n         \"children\": [  ],\n"
      "         \"date_added\": \"0\",\n         \"date_modified\": \"0\",\n         \"id\": "
      "\"2\",\n         \"name\": \"Other bookmarks\",\n         \"type\": \"folder\"\n      }\n"
      "   },\n   \"version\": 1\n}\n";
  return json;
}

void MakeFirefoxCookies(const std::wstring &path, const std::vector<const char *> &hosts) {
  ::DeleteFileW(path.c_str());
  TTestDb db(path);
  db.Exec(schema::kFirefoxCookies);
  db.Exec("BEGIN");
  int id = 1;
  for (const char *host : hosts) {
    const std::string h = host ? "'" + std::string(host) + "'" : "NULL";
    db.Exec("insert into moz_cookies values(" + std::to_string(id) + ",'id" + std::to_string(id) +
            "','value-" + std::to_string(id) + "-secret-cookie-value'," + h +
            ",'/',1893456000,1234567890123456,0,0)");
    ++id;
  }
  db.Exec("COMMIT");
}

void MakeChromeCookies(const std::wstring &path, const std::vector<const char *> &hosts) {
  ::DeleteFileW(path.c_str());
  TTestDb db(path);
  db.Exec(schema::kChromeCookies);
  db.Exec("insert into meta values('version','3'),('last_compatible_version','3')");
  db.Exec("BEGIN");
  int id = 1;
  for (const char *host : hosts) {
    db.Exec("insert into cookies values(" + std::to_string(12890000000000000LL + id) + ",'" + host +
            "','SID" + std::to_string(id) + "','chrome-secret-cookie-" + std::to_string(id) +
            "','/',12990000000000000,0,1,12890000000000000)");
    ++id;
  }
  db.Exec("COMMIT");
}

// places.sqlite of a Firefox 3 profile:
//   places 1-3 visited, place 2 bookmarked; place 4 bookmarked, never
//   visited; place 5 neither; place 6 visited, no icon.
//   Firefox's own folders and separator are bookmarks whose fk is NULL.
//   Icons 1 (place 1), 2 (place 2), 3 (place 4), 4 (no place), 5 (place 5).
void MakeFirefoxPlaces(const std::wstring &path, bool withFolders) {
  ::DeleteFileW(path.c_str());
  TTestDb db(path);
  db.Exec(schema::kFirefoxPlaces);
  db.Exec(
      "BEGIN;"
      "insert into moz_favicons values "
      "(1,'http://one.example/favicon.ico',x'89504e47','image/png',0);"
      "insert into moz_favicons values "
      "(2,'http://two.example/favicon.ico',x'89504e47','image/png',0);"
      "insert into moz_favicons values "
      "(3,'http://four.example/favicon.ico',x'89504e47','image/png',0);"
      "insert into moz_favicons values "
      "(4,'http://gone.example/favicon.ico',x'89504e47','image/png',0);"
      "insert into moz_favicons values "
      "(5,'http://five.example/favicon.ico',x'89504e47','image/png',0);"
      "insert into moz_places values "
      "(1,'http://one.example/secret-visited-page','One','elpmaxe.eno.',2,0,1,1,100);"
      "insert into moz_places values (2,'http://two.example/','Two','elpmaxe.owt.',1,0,0,2,100);"
      "insert into moz_places values "
      "(3,'http://three.example/','Three','elpmaxe.eerht.',1,0,0,NULL,100);"
      "insert into moz_places values (4,'http://four.example/','Four','elpmaxe.ruof.',0,0,0,3,100);"
      "insert into moz_places values (5,'place:folder=TOOLBAR','Five',NULL,0,1,0,5,0);"
      "insert into moz_places values (6,'http://six.example/','Six','elpmaxe.xis.',1,0,0,NULL,100);"
      "insert into moz_historyvisits values (1,0,1,1230000000000000,1,1);"
      "insert into moz_historyvisits values (2,1,1,1230000001000000,1,1);"
      "insert into moz_historyvisits values (3,0,2,1230000002000000,1,2);"
      "insert into moz_historyvisits values (4,0,3,1230000003000000,1,3);"
      "insert into moz_historyvisits values (5,0,6,1230000004000000,1,3);"
      "insert into moz_bookmarks values "
      "(10,1,2,3,0,'Two',NULL,NULL,1230000000000000,1230000000000000);"
      "insert into moz_bookmarks values "
      "(11,1,4,3,1,'Four',NULL,NULL,1230000000000000,1230000000000000);");
  if (withFolders)
    db.Exec("insert into moz_bookmarks values "
            "(1,2,NULL,0,0,NULL,NULL,NULL,1230000000000000,1230000000000000);"
            "insert into moz_bookmarks values (2,2,NULL,1,0,'Bookmarks "
            "Menu',NULL,NULL,1230000000000000,1230000000000000);"
            "insert into moz_bookmarks values (3,2,NULL,1,1,'Bookmarks "
            "Toolbar',NULL,NULL,1230000000000000,1230000000000000);"
            "insert into moz_bookmarks values "
            "(12,3,NULL,2,0,NULL,NULL,NULL,1230000000000000,1230000000000000);"
            "insert into moz_bookmarks_roots values ('places',1),('menu',2),('toolbar',3);");
  db.Exec("COMMIT");
}

// History of one profile:
//   url 1 and 2 are bookmarked (both with favicon 1); url 3 differs from
//   url 1 only in letter case; url 4 appears quoted in the Bookmarks text as
//   a name, not as a url; url 5 and 6 are plain history.
void MakeChromeHistoryDb(const std::wstring &path, bool nullableFavicon) {
  ::DeleteFileW(path.c_str());
  TTestDb db(path);
  db.Exec(schema::kChromeHistoryMeta);
  db.Exec(nullableFavicon ? schema::kChromeUrlsNullableFavicon : schema::kChromeUrls);
  db.Exec(schema::kChromeHistoryRest);
  db.Exec(
      "BEGIN;"
      "insert into meta values ('version','16'),('last_compatible_version','16');"
      "insert into urls values (1,'http://kept.example/','Kept',3,1,12890000000000000,0,1);"
      "insert into urls values "
      "(2,'http://also-kept.example/page','Also',1,0,12890000000000000,0,1);"
      "insert into urls values (3,'http://KEPT.example/','Case',1,0,12890000000000000,0,2);"
      "insert into urls values (4,'http://named.example/','Named',1,0,12890000000000000,0,3);"
      "insert into urls values "
      "(5,'http://gone.example/secret-history-page','Gone',2,0,12890000000000000,0,4);"
      "insert into urls values (6,'http://gone2.example/','Gone too',1,0,12890000000000000,0,0);"
      "insert into visits values (1,1,12890000000000000,0,1,1,1),(2,1,12890000001000000,1,1,1,1),"
      "(3,2,12890000002000000,0,1,0,1),(4,3,12890000003000000,0,1,0,1),(5,4,12890000004000000,0,1,"
      "0,1),"
      "(6,5,12890000005000000,0,1,2,1),(7,5,12890000006000000,6,1,2,1),(8,6,12890000007000000,0,1,"
      "0,1);"
      "insert into segments values (1,'http://kept.example/',1,0),(2,'http://gone.example/',5,1);"
      "insert into segment_usage values (1,1,12890000000000000,2),(2,2,12890000000000000,2);"
      "insert into keyword_search_terms values (1,1,'kept','Kept'),(1,5,'secret term','Secret "
      "Term');"
      "insert into presentation values (1,0),(5,1);"
      "insert into downloads values (1,'C:\\x.zip','http://dl.example/x.zip',1230000000,10,10,1);"
      "COMMIT;");
}

void MakeChromeThumbnailsDb(const std::wstring &path) {
  ::DeleteFileW(path.c_str());
  TTestDb db(path);
  db.Exec(schema::kChromeThumbnails);
  db.Exec("BEGIN;"
          "insert into meta values ('version','3');"
          "insert into favicons values (1,'http://kept.example/favicon.ico',0,x'89504e47'),"
          "(2,'http://KEPT.example/favicon.ico',0,x'89504e47'),(3,'http://named.example/"
          "favicon.ico',0,x'89504e47'),"
          "(4,'http://gone.example/favicon.ico',0,x'89504e47'),(5,'http://unused.example/"
          "favicon.ico',0,x'89504e47');"
          "insert into thumbnails values (1,1.0,1,1,0,x'ffd8ffe0'),(3,1.0,1,1,0,x'ffd8ffe0'),"
          "(4,1.0,1,1,0,x'ffd8ffe0'),(5,1.0,1,1,0,x'ffd8ffe0');"
          "COMMIT;");
}

std::string ChromeStandardBookmarks() {
  return ChromeBookmarksJson({{"Kept", "http://kept.example/"},
                              {"Also", "http://also-kept.example/page"},
                              {"http://named.example/", "http://not-in-history.example/"}});
}

void MakeChromeWebDataDb(const std::wstring &path) {
  ::DeleteFileW(path.c_str());
  TTestDb db(path);
  db.Exec(schema::kChromeWebData);
  db.Exec(schema::kChromeAutofillDates);
  db.Exec("insert into autofill values ('email','me@example.org','me@example.org',1,3);"
          "insert into autofill values ('q','secret search','secret search',2,1);"
          "insert into autofill_dates values (1,1230000000),(1,1230000001),(2,1230000002);"
          "insert into keywords (id,short_name,keyword,favicon_url,url) values "
          "(1,'G','g','','http://g/');");
}

std::wstring ScanMozCk(const std::wstring &path, BSTR initialSlot, bool *wasNull) {
  return Scan<drevka::TScanMozCk>(drevka::kScanMozCk, path, initialSlot, wasNull);
}
std::wstring ScanChromeCk(const std::wstring &path, BSTR initialSlot, bool *wasNull) {
  return Scan<drevka::TScanChromeCk>(drevka::kScanChromeCk, path, initialSlot, wasNull);
}
bool RepairMozCk(const std::wstring &path) {
  return Repair<drevka::TRepairMozCk>(drevka::kRepairMozCk, path);
}
bool RepairMozHis(const std::wstring &path) {
  return Repair<drevka::TRepairMozHis>(drevka::kRepairMozHis, path);
}

std::wstring ScanMozDown(const std::wstring &path) {
  return Scan<drevka::TScanMozDown>(drevka::kScanMozDown, path, nullptr, nullptr);
}

bool RepairMozDown(const std::wstring &path) {
  return Repair<drevka::TRepairMozDown>(drevka::kRepairMozDown, path);
}

std::wstring ScanMozForm(const std::wstring &path) {
  return Scan<drevka::TScanMozForm>(drevka::kScanMozForm, path, nullptr, nullptr);
}

bool RepairMozForm(const std::wstring &path) {
  return Repair<drevka::TRepairMozForm>(drevka::kRepairMozForm, path);
}
bool RepairChromeCk(const std::wstring &path) {
  return Repair<drevka::TRepairChromeCk>(drevka::kRepairChromeCk, path);
}
bool RepairChromeDown(const std::wstring &path) {
  return Repair<drevka::TRepairChromeDown>(drevka::kRepairChromeDown, path);
}
bool RepairChromeFill(const std::wstring &path) {
  return Repair<drevka::TRepairChromeFill>(drevka::kRepairChromeFill, path);
}
bool RepairChromeHis(const std::wstring &bookmarks, const std::wstring &history,
                     const std::wstring &thumbnails) {
  TBstr b(bookmarks), h(history), t(thumbnails);
  return CallDrevka<drevka::TRepairChromeHis>(drevka::kRepairChromeHis, b.Get(), h.Get(), t.Get());
}

bool RepairChromePages(const std::wstring &bookmarks, const std::wstring &database) {
  TBstr b(bookmarks), d(database);
  return CallDrevka<drevka::TRepairChromePages>(drevka::kRepairChromePages, b.Get(), d.Get());
}

namespace {

// A new database file from a schema script and rows.
void MakeDb(const std::wstring &path, const char *schema, const std::string &rows) {
  ::DeleteFileW(path.c_str());
  TTestDb db(path);
  db.Exec(schema);
  db.Exec(rows);
}

bool Current(TChromiumSchema schema) { return schema == TChromiumSchema::Current; }

} // namespace

std::string ChromiumBookmarks() { return ChromeBookmarksJson({{"Kept", kChromiumKeptUrl}}); }

void MakeChromiumHistory(const std::wstring &path, TChromiumSchema schema, bool withFaviconId) {
  std::string rows = withFaviconId ? "ALTER TABLE urls ADD COLUMN favicon_id INTEGER DEFAULT 0 "
                                     "NOT NULL;"
                                   : "";
  rows += R"SQL(
INSERT INTO urls(id,url,title,visit_count,last_visit_time) VALUES
  (1,'https://kept.example/','Kept',1,13300000000000000),
  (2,'https://plain.example/page','Plain',1,13300000000000001),
  (3,'https://other.example/','Other',1,13300000000000002);
INSERT INTO visits(id,url,visit_time) VALUES (1,1,13300000000000000),(2,2,13300000000000001),
  (3,3,13300000000000002);
INSERT INTO visit_source VALUES (1,0),(2,0),(3,1);
INSERT INTO keyword_search_terms VALUES (2,2,'Secret Term','secret term');
INSERT INTO segments VALUES (1,'http://kept.example/',1),(2,'http://plain.example/',2);
INSERT INTO segment_usage VALUES (1,1,13300000000000000,1),(2,2,13300000000000000,1);
INSERT INTO context_annotations(visit_id,context_annotation_flags) VALUES (1,0),(2,0);
)SQL";
  if (Current(schema)) {
    rows += R"SQL(
INSERT INTO content_annotations(visit_id,annotation_flags,has_url_keyed_image) VALUES (2,0,0);
INSERT INTO clusters VALUES (1,1,'Plain','Plain',1,'',0);
INSERT INTO clusters_and_visits(cluster_id,visit_id,url_for_deduping,normalized_url,
  url_for_display) VALUES (1,2,'https://plain.example/page','https://plain.example/page',
  'plain.example');
INSERT INTO cluster_keywords VALUES (1,'plain',0,1,'');
INSERT INTO cluster_visit_duplicates VALUES (2,3);
INSERT INTO visited_links VALUES (1,1,'https://kept.example/','https://kept.example/',1),
  (2,2,'https://plain.example/','https://plain.example/',1);
INSERT INTO downloads VALUES (1,'guid','C:\file.zip','C:\file.zip',1,1,1,1,0,0,x'',1,0,0,0,
  '','','','','','','','','','','','application/zip','application/zip');
)SQL";
  } else {
    rows += R"SQL(
INSERT INTO content_annotations(visit_id,annotation_flags) VALUES (2,0);
INSERT INTO clusters VALUES (1,1);
INSERT INTO clusters_and_visits(cluster_id,visit_id,score) VALUES (1,2,1);
INSERT INTO downloads_reroute_info VALUES (1,'reroute');
INSERT INTO downloads VALUES (1,'guid','C:\file.zip','C:\file.zip',1,1,1,1,0,0,x'',1,0,0,0,
  '','','','','','','','','','application/zip','application/zip');
)SQL";
  }
  rows += R"SQL(
INSERT INTO downloads_url_chains VALUES (1,0,'https://download.example/a'),
  (1,1,'https://download.example/b');
INSERT INTO downloads_slices VALUES (1,0,1,1);
)SQL";
  if (withFaviconId)
    rows += "UPDATE urls SET favicon_id = 1 WHERE id = 1;";
  MakeDb(path, Current(schema) ? testschemas::kChromeHistoryV70 : testschemas::kChromeHistoryV51,
         rows);
}

void MakeChromiumFavicons(const std::wstring &path, TChromiumSchema schema) {
  MakeDb(path, Current(schema) ? testschemas::kChromeFaviconsV9 : testschemas::kChromeFaviconsV8,
         R"SQL(
INSERT INTO favicons(id,url) VALUES (1,'https://kept.example/favicon.ico'),
  (2,'https://plain.example/favicon.ico');
INSERT INTO favicon_bitmaps(id,icon_id,image_data) VALUES (1,1,x'0102'),(2,2,x'0304');
INSERT INTO icon_mapping(id,page_url,icon_id) VALUES (1,'https://kept.example/',1),
  (2,'https://plain.example/page',2);
)SQL");
}

void MakeChromiumTopSites(const std::wstring &path, TChromiumSchema schema) {
  MakeDb(path, Current(schema) ? testschemas::kChromeTopSitesV5 : testschemas::kChromeTopSitesV4,
         "INSERT INTO top_sites(url,url_rank,title) VALUES ('https://kept.example/',0,'Kept'),"
         "('https://plain.example/page',1,'Plain');");
}

void MakeChromiumShortcuts(const std::wstring &path) {
  MakeDb(path, testschemas::kChromeShortcutsV2,
         "INSERT INTO omni_box_shortcuts(id,text,url) VALUES ('a','kep','https://kept.example/'),"
         "('b','pla','https://plain.example/page');");
}

void MakeChromiumCookies(const std::wstring &path, TChromiumSchema schema,
                         const std::vector<const char *> &hosts) {
  std::string rows;
  int n = 0;
  for (const char *host : hosts) {
    const std::string number = std::to_string(++n);
    rows += "INSERT INTO cookies(creation_utc,host_key,top_frame_site_key,name,value,"
            "encrypted_value,path,expires_utc,is_secure,is_httponly,last_access_utc,has_expires,"
            "is_persistent,priority,samesite,source_scheme,source_port";
    rows += Current(schema) ? ",last_update_utc,source_type,has_cross_site_ancestor)"
                            : ",is_same_party)";
    rows += " VALUES (" + number + ",'" + host + "','','n" + number +
            "','chromium-secret-cookie',x'',"
            "'/',0,0,0,0,0,0,1,0,2,443";
    rows += Current(schema) ? ",0,0,0);" : ",0);";
  }
  MakeDb(path, Current(schema) ? testschemas::kChromeCookiesV24 : testschemas::kChromeCookiesV16,
         rows);
}

void MakeChromiumWebData(const std::wstring &path, TChromiumSchema schema) {
  std::string rows = R"SQL(
INSERT INTO autofill VALUES ('email','me@example.org','me@example.org',1,2,3),
  ('q','secret search','secret search',1,2,1);
INSERT INTO credit_cards(guid,name_on_card) VALUES ('card-1','Card Holder');
INSERT INTO keywords(id,short_name,keyword,favicon_url,url) VALUES (2,'Ex','ex','','https://ex/');
)SQL";
  rows += Current(schema) ? "INSERT INTO addresses(guid) VALUES ('address-1');"
                          : "INSERT INTO autofill_profiles(guid) VALUES ('address-1');";
  MakeDb(path, Current(schema) ? testschemas::kChromeWebDataV158 : testschemas::kChromeWebDataV98,
         rows);
}

void MakeChromiumLoginData(const std::wstring &path, TChromiumSchema schema) {
  MakeDb(path,
         Current(schema) ? testschemas::kChromeLoginDataV43 : testschemas::kChromeLoginDataV31,
         "INSERT INTO logins(origin_url,signon_realm,date_created,blacklisted_by_user,scheme,"
         "password_value) VALUES ('https://kept.example/','https://kept.example/',1,0,0,x'01');");
}

std::wstring RepairLogPath() { return ProgramFolder() + L"aa.log"; }

std::vector<std::wstring> RepairLogLines() {
  std::vector<std::wstring> lines;
  if (!PathExists(RepairLogPath()))
    return lines;
  const std::wstring text = FromAnsi(ReadFileBytes(RepairLogPath()));
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(L"\r\n", start);
    if (end == std::wstring::npos) {
      if (start < text.size())
        lines.push_back(text.substr(start) + L"<no CR LF>");
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

} // namespace velmora::test
