// The Firefox repairs. The history repair runs in one transaction, leaves
// NULLs out of the NOT IN lists and overwrites deleted rows. On a Firefox 3
// database it deletes exactly what it always did; on today's schema (the
// one with moz_origins) it also clears what the removed places and visits
// leave in the other tables and in favicons.sqlite beside places.sqlite.
#include "browserdb/DrevkaCommon.h"

#include "base/Text.h"

namespace velmora::drevka {

namespace {

// The ids of the attributes Firefox gives its download annotations
// ("downloads/destinationFileURI", "downloads/metaData").
constexpr char kDownloadAttributes[] =
    "(select id from moz_anno_attributes where name like 'downloads/%')";

bool HasColumn(TSQLiteDatabase &db, const std::string &table, const std::wstring &column) {
  const auto rows = db.QueryTable("PRAGMA table_info(" + table + ")");
  const int name = rows->ColumnIndex(L"name");
  for (; !rows->AtEnd(); rows->MoveNext())
    if (SameText(rows->ColumnText(name), column))
      return true;
  return false;
}

bool HasIconsTable(TSQLiteDatabase &db, const char *table) {
  return db.QueryTable(std::string("select name from favicons.sqlite_master where type = "
                                   "'table' and name = '") +
                       table + "'")
             ->RowCount() > 0;
}

// favicons.sqlite beside places.sqlite, attached as "favicons" when it is
// there; false when it is not. Attached before the transaction begins
// (SQLite refuses inside one), so the repair's settings reach it too.
bool AttachIcons(TSQLiteDatabase &db, const std::wstring &placesPath) {
  const std::wstring iconsPath = ExtractFilePath(placesPath) + L"favicons.sqlite";
  if (!FileExists(iconsPath))
    return false;
  std::string quoted;
  for (const char c : ToUtf8(iconsPath))
    quoted += c == '\'' ? std::string("''") : std::string(1, c);
  db.RunStatement("ATTACH DATABASE '" + quoted + "' AS favicons");
  return true;
}

// A place stays while a bookmark or a keyword still names it.
std::string KeptByBookmarksOrKeywords(TSQLiteDatabase &db) {
  std::string clause = " and id not in (select fk from moz_bookmarks where fk is not null)";
  if (db.HasTable(L"moz_keywords") && HasColumn(db, "moz_keywords", L"place_id"))
    clause += " and id not in (select place_id from moz_keywords where place_id is not null)";
  return clause;
}

void RunIfTable(TSQLiteDatabase &db, const wchar_t *table, const std::string &statement) {
  if (!db.HasTable(table))
    return;
  WriteRepairLog(table);
  db.RunStatement(statement);
}

// What today's Firefox keeps about places that are gone: their
// annotations, typed input, page metadata, sync data, the sites (origins)
// no place names any more, and their icons.
void RemoveLeftoversOfRemovedPlaces(TSQLiteDatabase &db, bool icons) {
  const std::string gone = " where place_id not in (select id from moz_places)";
  RunIfTable(db, L"moz_annos", "delete from moz_annos" + gone);
  RunIfTable(db, L"moz_inputhistory", "delete from moz_inputhistory" + gone);
  RunIfTable(db, L"moz_places_metadata",
             "delete from moz_places_metadata" + gone +
                 " or (referrer_place_id is not null and referrer_place_id not in (select id "
                 "from moz_places))");
  RunIfTable(db, L"moz_places_extra", "delete from moz_places_extra" + gone);
  RunIfTable(db, L"moz_historyvisits_extra",
             "delete from moz_historyvisits_extra where visit_id not in (select id from "
             "moz_historyvisits)");
  RunIfTable(db, L"moz_origins",
             "delete from moz_origins where id not in (select origin_id from moz_places where "
             "origin_id is not null)");
  if (!icons || !HasIconsTable(db, "moz_pages_w_icons") || !HasIconsTable(db, "moz_icons") ||
      !HasIconsTable(db, "moz_icons_to_pages"))
    return;
  WriteRepairLog(L"favicons.sqlite");
  db.RunStatement("delete from favicons.moz_pages_w_icons where page_url not in (select url "
                  "from main.moz_places where url is not null)");
  db.RunStatement("delete from favicons.moz_icons_to_pages where page_id not in (select id "
                  "from favicons.moz_pages_w_icons)");
  // A page's own icons go with their last page; a site's root icon
  // (/favicon.ico) goes with the last place of its site, found through the
  // (prefix, host) index of moz_origins.
  db.RunStatement(
      "delete from favicons.moz_icons where id not in (select icon_id from "
      "favicons.moz_icons_to_pages) and (root = 0 or not exists (select 1 from main.moz_origins o "
      "where o.prefix = substr(icon_url, 1, instr(icon_url, '://') + 2) and o.host = "
      "substr(icon_url, instr(icon_url, '://') + 3, instr(substr(icon_url, instr(icon_url, "
      "'://') + 3) || '/', '/') - 1)))");
}

bool IsTodaysPlaces(TSQLiteDatabase &db) { return db.HasTable(L"moz_origins"); }

} // namespace

void RepairMozHistory(const std::wstring &path) {
  // A log that cannot be written is passed over.
  WriteRepairLog(L"1:" + path);
  if (!FileExists(path))
    return;
  WriteRepairLog(path);
  TSQLiteDatabase db(path, TSQLiteDatabase::TOpenMode::ExistingOnly);
  const bool today = IsTodaysPlaces(db);
  const bool icons = today && AttachIcons(db, path);
  TRepairTransaction transaction(db);
  if (db.HasTable(L"moz_places")) {
    WriteRepairLog(L"moz_places");
    // Mend: a NULL fk (Firefox's folders and separators) would make the
    // NOT IN test never true; it is left out of the list.
    db.RunStatement("delete from moz_places where id  in (select place_id from moz_historyvisits) "
                    " and id not in  (select fk from moz_bookmarks where fk is not null)" +
                    (today ? KeptByBookmarksOrKeywords(db) : std::string()));
  }
  if (db.HasTable(L"moz_favicons")) {
    WriteRepairLog(L"moz_favicons");
    // Mend: likewise NULL favicon ids.
    db.RunStatement("delete from moz_favicons where id not in (select favicon_id from moz_places "
                    "where favicon_id is not null)");
  }
  if (db.HasTable(L"moz_historyvisits")) {
    WriteRepairLog(L"moz_historyvisits");
    db.RunStatement("delete from moz_historyvisits");
  }
  if (today) {
    // Typed input and page interactions are history of their own, also for
    // the places that stay.
    RunIfTable(db, L"moz_inputhistory", "delete from moz_inputhistory");
    RunIfTable(db, L"moz_places_metadata", "delete from moz_places_metadata");
    RunIfTable(db, L"moz_places_metadata_search_queries",
               "delete from moz_places_metadata_search_queries");
    RemoveLeftoversOfRemovedPlaces(db, icons);
  }
  transaction.Commit();
}

std::wstring ScanMozDownloads(const std::wstring &path) {
  if (!FileExists(path))
    return {};
  TSQLiteDatabase db(path, TSQLiteDatabase::TOpenMode::ExistingOnly);
  if (!db.HasTable(L"moz_places") || !db.HasTable(L"moz_annos") ||
      !db.HasTable(L"moz_anno_attributes"))
    return {};
  return ScanLines(db, std::string("select url from moz_places where id in (select place_id from "
                                   "moz_annos where anno_attribute_id in ") +
                           kDownloadAttributes + ") order by id");
}

void RepairMozDownloads(const std::wstring &path) {
  if (!FileExists(path))
    return;
  TSQLiteDatabase db(path, TSQLiteDatabase::TOpenMode::ExistingOnly);
  if (!db.HasTable(L"moz_places") || !db.HasTable(L"moz_annos") ||
      !db.HasTable(L"moz_anno_attributes"))
    return;
  const bool icons = IsTodaysPlaces(db) && AttachIcons(db, path);
  TRepairTransaction transaction(db);
  const std::string downloaded = std::string("(select place_id from moz_annos where "
                                             "anno_attribute_id in ") +
                                 kDownloadAttributes + ")";
  // The download visits (transition type 7), then the places that only the
  // downloads kept: no other visit, bookmark, keyword or annotation.
  if (db.HasTable(L"moz_historyvisits"))
    db.RunStatement("delete from moz_historyvisits where visit_type = 7 and place_id in " +
                    downloaded);
  std::string placesOnlyDownloadsKept =
      "delete from moz_places where id in " + downloaded +
      " and id not in (select place_id from moz_annos where anno_attribute_id is null or "
      "anno_attribute_id not in " +
      kDownloadAttributes + ")";
  if (db.HasTable(L"moz_historyvisits"))
    placesOnlyDownloadsKept +=
        " and id not in (select place_id from moz_historyvisits where place_id is not null)";
  if (db.HasTable(L"moz_bookmarks"))
    placesOnlyDownloadsKept += KeptByBookmarksOrKeywords(db);
  db.RunStatement(placesOnlyDownloadsKept);
  db.RunStatement(std::string("delete from moz_annos where anno_attribute_id in ") +
                  kDownloadAttributes);
  RemoveLeftoversOfRemovedPlaces(db, icons);
  transaction.Commit();
}

std::wstring ScanMozForms(const std::wstring &path) {
  if (!FileExists(path))
    return {};
  TSQLiteDatabase db(path, TSQLiteDatabase::TOpenMode::ExistingOnly);
  if (!db.HasTable(L"moz_formhistory"))
    return {};
  return ScanLines(db, "select fieldname from moz_formhistory group by fieldname order by min(id)");
}

void RepairMozForms(const std::wstring &path) {
  // The entries and where they were entered; the sync tombstones
  // (moz_deleted_formhistory) hold no text and stay.
  RepairTables(path, {{L"moz_formhistory", "delete from moz_formhistory"},
                      {L"moz_history_to_sources", "delete from moz_history_to_sources"},
                      {L"moz_sources", "delete from moz_sources"}});
}

} // namespace velmora::drevka
