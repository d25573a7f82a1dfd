#pragma once
// The schemas of the browser databases of that era, as the browsers created
// them: Firefox 3.0 (cookies.sqlite, places.sqlite) and Chrome 2-4 (Cookies,
// History, Web Data, Thumbnails). Used by the Drevka tests and the bench to
// build fixture databases with the real SQLite.

namespace velmora::test::schema {

// Firefox 3.0 cookies.sqlite.
inline constexpr char kFirefoxCookies[] =
    "CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, name TEXT, value TEXT, host TEXT, path TEXT,"
    "expiry INTEGER, lastAccessed INTEGER, isSecure INTEGER, isHttpOnly INTEGER);";

// Firefox 3.0 places.sqlite.
inline constexpr char kFirefoxPlaces[] =
    "CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY,type INTEGER, fk INTEGER DEFAULT NULL, "
    "parent INTEGER, position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT, "
    "dateAdded INTEGER, lastModified INTEGER);"
    "CREATE TABLE moz_bookmarks_roots (root_name VARCHAR(16) UNIQUE, folder_id INTEGER);"
    "CREATE TABLE moz_keywords (id INTEGER PRIMARY KEY AUTOINCREMENT, keyword TEXT UNIQUE);"
    "CREATE TABLE moz_favicons (id INTEGER PRIMARY KEY, url LONGVARCHAR UNIQUE, data BLOB, "
    "mime_type VARCHAR(32), expiration LONG);"
    "CREATE TABLE moz_historyvisits (id INTEGER PRIMARY KEY, from_visit INTEGER, place_id INTEGER, "
    "visit_date INTEGER, visit_type INTEGER, session INTEGER);"
    "CREATE TABLE moz_inputhistory (place_id INTEGER NOT NULL, input LONGVARCHAR NOT NULL, "
    "use_count INTEGER, PRIMARY KEY (place_id, input));"
    "CREATE TABLE moz_annos (id INTEGER PRIMARY KEY,place_id INTEGER NOT NULL,anno_attribute_id "
    "INTEGER,mime_type VARCHAR(32) DEFAULT NULL,content LONGVARCHAR, flags INTEGER DEFAULT 0,"
    "expiration INTEGER DEFAULT 0,type INTEGER DEFAULT 0,dateAdded INTEGER DEFAULT 0,"
    "lastModified INTEGER DEFAULT 0);"
    "CREATE TABLE moz_anno_attributes (id INTEGER PRIMARY KEY,name VARCHAR(32) UNIQUE NOT NULL);"
    "CREATE TABLE moz_items_annos (id INTEGER PRIMARY KEY,item_id INTEGER NOT NULL,"
    "anno_attribute_id INTEGER,mime_type VARCHAR(32) DEFAULT NULL,content LONGVARCHAR, flags "
    "INTEGER DEFAULT 0,expiration INTEGER DEFAULT 0,type INTEGER DEFAULT 0,dateAdded INTEGER "
    "DEFAULT 0,lastModified INTEGER DEFAULT 0);"
    "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, "
    "rev_host LONGVARCHAR, visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, "
    "typed INTEGER DEFAULT 0 NOT NULL, favicon_id INTEGER, frecency INTEGER DEFAULT -1 NOT NULL);"
    "CREATE UNIQUE INDEX moz_places_url_uniqueindex ON moz_places (url);"
    "CREATE INDEX moz_places_faviconindex ON moz_places (favicon_id);"
    "CREATE INDEX moz_places_hostindex ON moz_places (rev_host);"
    "CREATE INDEX moz_places_visitcount ON moz_places (visit_count);"
    "CREATE INDEX moz_places_frecencyindex ON moz_places (frecency);"
    "CREATE INDEX moz_bookmarks_itemindex ON moz_bookmarks (fk, type);"
    "CREATE INDEX moz_bookmarks_parentindex ON moz_bookmarks (parent, position);"
    "CREATE INDEX moz_bookmarks_itemlastmodifiedindex ON moz_bookmarks (fk, lastModified);"
    "CREATE INDEX moz_historyvisits_placedateindex ON moz_historyvisits (place_id, visit_date);"
    "CREATE INDEX moz_historyvisits_fromindex ON moz_historyvisits (from_visit);"
    "CREATE INDEX moz_historyvisits_dateindex ON moz_historyvisits (visit_date);"
    "CREATE UNIQUE INDEX moz_annos_placeattributeindex ON moz_annos (place_id, anno_attribute_id);"
    "CREATE UNIQUE INDEX moz_items_annos_itemattributeindex ON moz_items_annos (item_id, "
    "anno_attribute_id);";

// Chrome's Cookies.
inline constexpr char kChromeCookies[] =
    "CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY,value LONGVARCHAR);"
    "CREATE TABLE cookies (creation_utc INTEGER NOT NULL UNIQUE PRIMARY KEY,host_key TEXT NOT NULL,"
    "name TEXT NOT NULL,value TEXT NOT NULL,path TEXT NOT NULL,expires_utc INTEGER NOT NULL,"
    "secure INTEGER NOT NULL,httponly INTEGER NOT NULL,last_access_utc INTEGER NOT NULL);"
    "CREATE INDEX cookie_times ON cookies (creation_utc);";

// Chrome's History (urls.favicon_id as Chrome declared it: NOT NULL DEFAULT 0).
inline constexpr char kChromeHistoryMeta[] =
    "CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY,value LONGVARCHAR);";
inline constexpr char kChromeUrls[] =
    "CREATE TABLE urls(id INTEGER PRIMARY KEY,url LONGVARCHAR,title LONGVARCHAR,visit_count "
    "INTEGER DEFAULT 0 NOT NULL,typed_count INTEGER DEFAULT 0 NOT NULL,last_visit_time INTEGER NOT "
    "NULL,hidden INTEGER DEFAULT 0 NOT NULL,favicon_id INTEGER DEFAULT 0 NOT NULL);";
// The urls table of an older or damaged profile where favicon_id may be NULL.
inline constexpr char kChromeUrlsNullableFavicon[] =
    "CREATE TABLE urls(id INTEGER PRIMARY KEY,url LONGVARCHAR,title LONGVARCHAR,visit_count "
    "INTEGER DEFAULT 0 NOT NULL,typed_count INTEGER DEFAULT 0 NOT NULL,last_visit_time INTEGER NOT "
    "NULL,hidden INTEGER DEFAULT 0 NOT NULL,favicon_id INTEGER);";
inline constexpr char kChromeHistoryRest[] =
    "CREATE INDEX urls_url_index ON urls (url);"
    "CREATE TABLE visits(id INTEGER PRIMARY KEY,url INTEGER NOT NULL,visit_time INTEGER NOT NULL,"
    "from_visit INTEGER,transition INTEGER DEFAULT 0 NOT NULL,segment_id INTEGER,is_indexed "
    "BOOLEAN);"
    "CREATE INDEX visits_url_index ON visits (url);"
    "CREATE INDEX visits_from_index ON visits (from_visit);"
    "CREATE INDEX visits_time_index ON visits (visit_time);"
    "CREATE TABLE segments (id INTEGER PRIMARY KEY,name VARCHAR,url_id INTEGER NON NULL,pres_index "
    "INTEGER DEFAULT -1 NOT NULL);"
    "CREATE INDEX segments_name ON segments(name);"
    "CREATE INDEX segments_url_id ON segments(url_id);"
    "CREATE TABLE segment_usage (id INTEGER PRIMARY KEY,segment_id INTEGER NOT NULL,time_slot "
    "INTEGER NOT NULL,visit_count INTEGER DEFAULT 0 NOT NULL);"
    "CREATE INDEX segment_usage_time_slot_segment_id ON segment_usage(time_slot, segment_id);"
    "CREATE INDEX segments_usage_seg_id ON segment_usage(segment_id);"
    "CREATE TABLE presentation(url_id INTEGER PRIMARY KEY,pres_index INTEGER NOT NULL);"
    "CREATE TABLE keyword_search_terms (keyword_id INTEGER NOT NULL,url_id INTEGER NOT NULL,"
    "lower_term LONGVARCHAR NOT NULL,term LONGVARCHAR NOT NULL);"
    "CREATE INDEX keyword_search_terms_index1 ON keyword_search_terms (keyword_id, lower_term);"
    "CREATE INDEX keyword_search_terms_index2 ON keyword_search_terms (url_id);"
    "CREATE TABLE downloads (id INTEGER PRIMARY KEY,full_path LONGVARCHAR NOT NULL,url LONGVARCHAR "
    "NOT NULL,start_time INTEGER NOT NULL,received_bytes INTEGER NOT NULL,total_bytes INTEGER NOT "
    "NULL,state INTEGER NOT NULL);";

// Chrome's Web Data (the tables the exports touch and their neighbours).
inline constexpr char kChromeWebData[] =
    "CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY,value LONGVARCHAR);"
    "CREATE TABLE keywords (id INTEGER PRIMARY KEY,short_name VARCHAR NOT NULL,keyword VARCHAR NOT "
    "NULL,favicon_url VARCHAR NOT NULL,url VARCHAR NOT NULL,show_in_default_list INTEGER,"
    "safe_for_autoreplace INTEGER,originating_url VARCHAR,date_created INTEGER DEFAULT 0,"
    "usage_count INTEGER DEFAULT 0,input_encodings VARCHAR,suggest_url VARCHAR,prepopulate_id "
    "INTEGER DEFAULT 0,autogenerate_keyword INTEGER DEFAULT 0);"
    "CREATE TABLE logins (origin_url VARCHAR NOT NULL, action_url VARCHAR, username_element "
    "VARCHAR, username_value VARCHAR, password_element VARCHAR, password_value BLOB, submit_element "
    "VARCHAR, signon_realm VARCHAR NOT NULL,ssl_valid INTEGER NOT NULL,preferred INTEGER NOT NULL,"
    "date_created INTEGER NOT NULL,blacklisted_by_user INTEGER NOT NULL,scheme INTEGER NOT NULL,"
    "UNIQUE (origin_url, username_element, username_value, password_element, submit_element, "
    "signon_realm));"
    "CREATE TABLE web_app_icons (url LONGVARCHAR,width int,height int,image BLOB, UNIQUE (url, "
    "width, height));"
    "CREATE TABLE web_apps (url LONGVARCHAR UNIQUE,has_all_images INTEGER NOT NULL);"
    "CREATE TABLE autofill (name VARCHAR, value VARCHAR, value_lower VARCHAR, pair_id INTEGER "
    "PRIMARY KEY, count INTEGER DEFAULT 1);"
    "CREATE INDEX autofill_name ON autofill (name);"
    "CREATE INDEX autofill_name_value_lower ON autofill (name, value_lower);";
inline constexpr char kChromeAutofillDates[] =
    "CREATE TABLE autofill_dates ( pair_id INTEGER DEFAULT 0, date_created INTEGER DEFAULT 0);"
    "CREATE INDEX autofill_dates_pair_id ON autofill_dates (pair_id);";

// Chrome's Thumbnails.
inline constexpr char kChromeThumbnails[] =
    "CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY,value LONGVARCHAR);"
    "CREATE TABLE thumbnails (url_id INTEGER PRIMARY KEY,boring_score DOUBLE DEFAULT 1.0,"
    "good_clipping INTEGER DEFAULT 0,at_top INTEGER DEFAULT 0,last_updated INTEGER DEFAULT 0,data "
    "BLOB);"
    "CREATE TABLE favicons(id INTEGER PRIMARY KEY,url LONGVARCHAR NOT NULL,last_updated INTEGER "
    "DEFAULT 0,image_data BLOB);"
    "CREATE INDEX favicons_url ON favicons(url);";

} // namespace velmora::test::schema
