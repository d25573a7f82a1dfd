#include "CurrentFirefoxFixtures.h"

#include "CurrentFirefoxSchemas.h"
#include "Fixtures.h"

#include <windows.h>

namespace velmora::test {

namespace {

void Fresh(const std::wstring &path) {
  for (const wchar_t *suffix : {L"", L"-wal", L"-shm", L"-journal"})
    ::DeleteFileW((path + suffix).c_str());
}

} // namespace

void MakeCurrentPlaces(const std::wstring &folder, TFirefoxVersion version,
                       const std::string &site) {
  const std::wstring dir = folder.ends_with(L'\\') ? folder : folder + L"\\";
  const std::wstring places = dir + L"places.sqlite", icons = dir + L"favicons.sqlite";
  Fresh(places);
  Fresh(icons);
  const std::string seen = "https://seen-" + site + ".example",
                    kept = "https://kept-" + site + ".example",
                    dl = "https://dl-" + site + ".example",
                    typed = "https://typed-" + site + ".example";
  {
    TTestDb db(places);
    db.Exec("PRAGMA journal_mode = WAL");
    db.Exec(version == TFirefoxVersion::Esr115 ? testschemas::kFirefoxPlacesV74
                                               : testschemas::kFirefoxPlacesV77);
    db.Exec("BEGIN");
    db.Exec("insert into moz_origins(id, prefix, host, frecency) values (1, 'https://', 'seen-" +
            site + ".example', 10), (2, 'https://', 'kept-" + site +
            ".example', 20), (3, 'https://', 'dl-" + site +
            ".example', 5), (4, 'https://', 'typed-" + site + ".example', 1)");
    db.Exec("insert into moz_places(id, url, title, rev_host, visit_count, frecency, "
            "last_visit_date, guid, foreign_count, url_hash, origin_id) values "
            "(1, '" +
            seen +
            "/page', 'Seen page', 'elpmaxe.', 1, 100, 1700000000000000, "
            "'guid-place-1', 0, 0, 1), "
            "(2, '" +
            kept +
            "/', 'Kept site', 'elpmaxe.', 1, 200, 1700000000000001, "
            "'guid-place-2', 1, 0, 2), "
            "(3, '" +
            dl +
            "/file.zip', 'file.zip', 'elpmaxe.', 0, 0, 1700000000000002, "
            "'guid-place-3', 0, 0, 3), "
            "(4, '" +
            kept +
            "/unvisited', 'Never visited', 'elpmaxe.', 0, 0, NULL, "
            "'guid-place-4', 1, 0, 2), "
            "(5, '" +
            typed + "/', 'Neither', 'elpmaxe.', 0, 0, NULL, 'guid-place-5', 0, 0, 4)");
    db.Exec("insert into moz_historyvisits(id, from_visit, place_id, visit_date, visit_type, "
            "session, source) values (1, 0, 1, 1700000000000000, 1, 0, 0), "
            "(2, 1, 2, 1700000000000001, 2, 0, 0), (3, 0, 3, 1700000000000002, 7, 0, 0)");
    // Firefox's roots (folders, fk NULL) and the two bookmarks.
    db.Exec("insert into moz_bookmarks(id, type, fk, parent, position, title, dateAdded, "
            "lastModified, guid) values (1, 2, NULL, 0, 0, '', 1, 1, 'root________'), "
            "(2, 2, NULL, 1, 0, 'menu', 1, 1, 'menu________'), "
            "(3, 1, 2, 2, 0, 'Kept site', 2, 2, 'bookmark-kept'), "
            "(4, 1, 4, 2, 1, 'Never visited', 3, 3, 'bookmark-unvi')");
    db.Exec("insert into moz_inputhistory values (1, 'see', 1), (2, 'kep', 3)");
    db.Exec("insert into moz_anno_attributes(id, name) values (1, "
            "'downloads/destinationFileURI'), (2, 'downloads/metaData'), (3, 'other/note')");
    db.Exec("insert into moz_annos(place_id, anno_attribute_id, content, flags, expiration, "
            "type, dateAdded, lastModified) values "
            "(3, 1, 'file:///C:/Users/u/Downloads/file-" +
            site +
            ".zip', 0, 4, 3, 1, 1), "
            "(3, 2, '{\"state\":1,\"endTime\":1700000000000,\"fileSize\":1234}', 0, 4, 3, 1, 1), "
            "(1, 3, 'note of a seen page', 0, 4, 3, 1, 1)");
    db.Exec("insert into moz_places_metadata_search_queries(id, terms) values (1, 'secret "
            "search " +
            site + "')");
    db.Exec("insert into moz_places_metadata(id, place_id, referrer_place_id, created_at, "
            "updated_at, total_view_time, search_query_id) values (1, 1, NULL, 1, 1, 10, 1), "
            "(2, 2, 1, 2, 2, 20, NULL)");
    if (version == TFirefoxVersion::Esr128) {
      db.Exec("insert into moz_places_extra values (1, '{\"seen\":1}'), (2, '{\"kept\":1}')");
      db.Exec("insert into moz_historyvisits_extra values (1, '{}'), (2, '{}')");
    }
    db.Exec("insert into moz_meta values ('origin_frecency_count', 4)");
    db.Exec("COMMIT");
  }
  TTestDb db(icons);
  db.Exec("PRAGMA journal_mode = WAL");
  db.Exec(version == TFirefoxVersion::Esr115 ? testschemas::kFirefoxFaviconsV77
                                             : testschemas::kFirefoxFaviconsV78);
  db.Exec("BEGIN");
  db.Exec("insert into moz_pages_w_icons values (1, '" + seen + "/page', 0), (2, '" + kept +
          "/', 0)");
  db.Exec("insert into moz_icons(id, icon_url, fixed_icon_url_hash, width, root, data) values "
          "(1, '" +
          seen +
          "/page-icon.png', 0, 16, 0, x'89504e47aa01'), "
          "(2, '" +
          kept +
          "/icon.png', 0, 16, 0, x'89504e47bb02'), "
          "(3, '" +
          seen +
          "/favicon.ico', 0, 16, 1, x'00000100cc03'), "
          "(4, '" +
          kept + "/favicon.ico', 0, 16, 1, x'00000100dd04')");
  db.Exec("insert into moz_icons_to_pages(page_id, icon_id) values (1, 1), (2, 2)");
  db.Exec("COMMIT");
}

void MakeCurrentCookies(const std::wstring &path, int schemaVersion,
                        const std::vector<std::string> &hosts) {
  Fresh(path);
  TTestDb db(path);
  db.Exec("PRAGMA journal_mode = WAL");
  db.Exec(schemaVersion == 12   ? testschemas::kFirefoxCookiesV12
          : schemaVersion == 13 ? testschemas::kFirefoxCookiesV13
                                : testschemas::kFirefoxCookiesV17);
  db.Exec("BEGIN");
  int id = 1;
  for (const std::string &host : hosts) {
    db.Exec("insert into moz_cookies(id, originAttributes, name, value, host, path, expiry, "
            "lastAccessed, creationTime, isSecure, isHttpOnly) values (" +
            std::to_string(id) + ", '', 'c" + std::to_string(id) + "', 'cookie-secret-" +
            std::to_string(id) + "', '" + host + "', '/', 1893456000, 1700000000000000, " +
            "1700000000000000, 1, 0)");
    ++id;
  }
  db.Exec("COMMIT");
}

void MakeCurrentFormHistory(const std::wstring &path,
                            const std::vector<std::pair<std::string, std::string>> &entries) {
  Fresh(path);
  TTestDb db(path);
  db.Exec("PRAGMA journal_mode = WAL");
  db.Exec(testschemas::kFirefoxFormHistoryV5);
  db.Exec("BEGIN");
  db.Exec("insert into moz_sources(id, source) values (1, 'https://form.example/')");
  int id = 1;
  for (const auto &[field, value] : entries) {
    db.Exec("insert into moz_formhistory(id, fieldname, value, timesUsed, firstUsed, lastUsed, "
            "guid) values (" +
            std::to_string(id) + ", '" + field + "', '" + value + "', 1, 1, 1, 'g" +
            std::to_string(id) + "')");
    db.Exec("insert into moz_history_to_sources values (" + std::to_string(id) + ", 1)");
    ++id;
  }
  db.Exec("insert into moz_deleted_formhistory(id, timeDeleted, guid) values (1, 5, 'gone')");
  db.Exec("COMMIT");
}

std::string JournalModeOf(const std::wstring &path) {
  TTestDb db(path);
  const auto mode = db.Column("PRAGMA journal_mode");
  return mode.empty() ? std::string() : mode[0];
}

} // namespace velmora::test
