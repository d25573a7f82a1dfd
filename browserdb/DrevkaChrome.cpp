// The Chrome history repair (run in one transaction per database, the kept
// ids in temporary tables, deleted rows overwritten). It serves Chrome's
// first schemas and today's Chromium schemas alike: each step runs only
// where its table and columns exist.
#include "browserdb/DrevkaCommon.h"

#include "base/Text.h"

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <unordered_set>

namespace velmora::drevka {

namespace {

// Answers "does the text contain a double quote, then s, then a double
// quote?" in constant time per question. For s without a double quote the
// two quotes around it must be consecutive quotes of the text, so the set of
// texts between consecutive double quotes answers exactly; an s that itself
// holds a double quote falls back to the search.
class TQuotedTexts {
public:
  explicit TQuotedTexts(const std::wstring &text) : text_(text) {
    const std::wstring_view all(text_);
    size_t open = all.find(L'"');
    while (open != std::wstring_view::npos) {
      const size_t close = all.find(L'"', open + 1);
      if (close == std::wstring_view::npos)
        break;
      pieces_.insert(all.substr(open + 1, close - open - 1));
      open = close;
    }
  }
  bool ContainsQuoted(const std::wstring &s) const {
    if (s.find(L'"') != std::wstring::npos)
      return text_.find(L"\"" + s + L"\"") != std::wstring::npos;
    return pieces_.count(std::wstring_view(s)) != 0;
  }

private:
  const std::wstring &text_;
  std::unordered_set<std::wstring_view> pieces_;
};

} // namespace

namespace {

// The decimal integer a cell holds as text ("12", "-3"); nothing for an
// absent cell or any other text.
std::optional<int64_t> IntegerOf(const std::wstring &text) {
  if (text.empty() || text.size() > 20)
    return std::nullopt;
  size_t digits = text[0] == L'-' ? 1 : 0;
  if (digits == text.size())
    return std::nullopt;
  for (size_t i = digits; i < text.size(); ++i)
    if (text[i] < L'0' || text[i] > L'9')
      return std::nullopt;
  errno = 0;
  const long long value = std::wcstoll(text.c_str(), nullptr, 10);
  if (errno == ERANGE)
    return std::nullopt;
  return value;
}

// A temporary table of the connection holding the given ids.
void MakeIdTable(TSQLiteDatabase &db, const char *table, const std::vector<int64_t> &ids) {
  db.RunStatement(std::string("create temp table ") + table + " (id INTEGER PRIMARY KEY)");
  db.RunForEachValue(std::string("insert or ignore into temp.") + table + " (id) values (?1)", ids);
}

// An existing database is opened as it is; a missing one becomes a new,
// empty database, as the caller has always had it.
TSQLiteDatabase::TOpenMode ModeFor(const std::wstring &path) {
  return FileExists(path) ? TSQLiteDatabase::TOpenMode::ExistingOnly
                          : TSQLiteDatabase::TOpenMode::CreateIfMissing;
}

// Keeps only the rows of a table that meet the condition. When nearly
// every row goes, as in a history repair, clearing the table and putting
// the kept rows back is many times quicker than deleting row by row through
// its indexes; the cleared pages are overwritten all the same (secure
// deletion). For tables of ordinary rowid and columns only.
void KeepRowsWhere(TSQLiteDatabase &db, const std::string &table, const std::string &condition) {
  const std::string kept = "temp.drevka_keep_" + table;
  db.RunStatement("create table " + kept + " as select * from " + table + " where " + condition);
  db.RunStatement("delete from " + table);
  db.RunStatement("insert into " + table + " select * from " + kept);
  db.RunStatement("drop table " + kept);
}

// The ids (column 0) of the rows whose address (column 1) the bookmarks
// quote.
std::vector<int64_t> KeptRowIds(TSQLiteDatabase &db, const std::string &query,
                                const TQuotedTexts &quoted) {
  std::vector<int64_t> ids;
  const auto rows = db.QueryTable(query);
  for (int i = 0; i < rows->RowCount(); ++i) {
    if (quoted.ContainsQuoted(rows->ColumnText(1)))
      if (const auto kept = IntegerOf(rows->ColumnText(0)))
        ids.push_back(*kept);
    rows->MoveNext();
  }
  return ids;
}

} // namespace

void RepairChromePages(const std::wstring &bookmarksPath, const std::wstring &path) {
  if (!FileExists(path))
    return;
  std::wstring bookmarks;
  if (FileExists(bookmarksPath))
    bookmarks = ReadTextFile(bookmarksPath);
  const TQuotedTexts quoted(bookmarks);
  TSQLiteDatabase db(path, TSQLiteDatabase::TOpenMode::ExistingOnly);
  TRepairTransaction transaction(db);
  // Top Sites (top_sites; "thumbnails" with a url column before it) and
  // Shortcuts: rows of pages that are not bookmarked go.
  static const wchar_t *const kTables[] = {L"top_sites", L"thumbnails", L"omni_box_shortcuts"};
  for (const wchar_t *table : kTables) {
    if (!db.HasTable(table) || !HasColumn(db, table, L"url"))
      continue;
    const std::string name = ToAnsi(table);
    std::vector<int64_t> kept;
    if (!bookmarks.empty())
      kept = KeptRowIds(db, "select rowid,url from " + name, quoted);
    const std::string keptTable = "drevka_kept_" + name;
    MakeIdTable(db, keptTable.c_str(), kept);
    db.RunStatement("delete from " + name + " where rowid not in (select id from temp." +
                    keptTable + ")");
  }
  transaction.Commit();
}

void RepairChromeHistory(const std::wstring &bookmarksPath, const std::wstring &historyPath,
                         const std::wstring &thumbnailsPath) {
  std::vector<int64_t> urlIds, faviconIds;
  std::wstring bookmarks;
  if (FileExists(bookmarksPath))
    bookmarks = ReadTextFile(bookmarksPath);

  TSQLiteDatabase history(historyPath, ModeFor(historyPath));
  TSQLiteDatabase thumbnails(thumbnailsPath, ModeFor(thumbnailsPath));
  TRepairTransaction historyTransaction(history);
  TRepairTransaction thumbnailsTransaction(thumbnails);

  const TQuotedTexts quoted(bookmarks);
  const bool hasUrls = history.HasTable(L"urls");
  if (hasUrls) {
    // urls.favicon_id went away in later schemas; the icons of today's
    // Favicons database are tied to page addresses instead (below).
    const bool hasFaviconId = HasColumn(history, L"urls", L"favicon_id");
    const auto rows = history.QueryTable(hasFaviconId ? "select id,url,favicon_id from urls"
                                                      : "select id,url from urls");
    if (!bookmarks.empty() && rows->RowCount() > 0) {
      const int id = rows->ColumnIndex(L"id");
      const int url = rows->ColumnIndex(L"url");
      const int faviconId = hasFaviconId ? rows->ColumnIndex(L"favicon_id") : -1;
      for (int i = 0; i < rows->RowCount(); ++i) {
        if (quoted.ContainsQuoted(rows->ColumnText(url))) {
          // The kept ids go into temporary tables, never into SQL text;
          // NULLs and anything but an integer are left out.
          if (const auto kept = IntegerOf(rows->ColumnText(id)))
            urlIds.push_back(*kept);
          if (faviconId >= 0)
            if (const auto icon = IntegerOf(rows->ColumnText(faviconId)))
              faviconIds.push_back(*icon);
        }
        rows->MoveNext();
      }
    }
  }
  // Today's Favicons database maps page addresses to icons: the mappings
  // of bookmarked pages stay, then the icons no mapping uses go.
  const bool hasIconMapping = thumbnails.HasTable(L"icon_mapping");
  if (hasIconMapping) {
    std::vector<int64_t> keptMappings;
    if (!bookmarks.empty())
      keptMappings = KeptRowIds(thumbnails, "select id,page_url from icon_mapping", quoted);
    MakeIdTable(thumbnails, "drevka_kept_mappings", keptMappings);
    KeepRowsWhere(thumbnails, "icon_mapping", "id in (select id from temp.drevka_kept_mappings)");
  }
  const bool hasFavicons = thumbnails.HasTable(L"favicons") && !hasIconMapping;
  const bool hasThumbnails = thumbnails.HasTable(L"thumbnails");
  if (hasUrls)
    MakeIdTable(history, "drevka_kept_urls", urlIds);
  if (hasThumbnails)
    MakeIdTable(thumbnails, "drevka_kept_urls", urlIds);
  if (hasFavicons)
    MakeIdTable(thumbnails, "drevka_kept_icons", faviconIds);
  if (hasIconMapping) {
    if (thumbnails.HasTable(L"favicons"))
      thumbnails.RunStatement("delete from favicons where id not in "
                              "(select icon_id from icon_mapping where icon_id is not null)");
    if (thumbnails.HasTable(L"favicon_bitmaps"))
      thumbnails.RunStatement(
          "delete from favicon_bitmaps where icon_id not in (select id from favicons)");
  }

  if (hasUrls)
    KeepRowsWhere(history, "urls", "id in (select id from temp.drevka_kept_urls)");
  if (hasFavicons)
    thumbnails.RunStatement(
        "delete from favicons where not id in(select id from temp.drevka_kept_icons)");
  if (hasThumbnails)
    thumbnails.RunStatement(
        "delete from thumbnails where url_id not in (select id from temp.drevka_kept_urls)");

  static const std::pair<const wchar_t *, const char *> kHistorySteps[] = {
      {L"segments", "delete from segments where url_id not in (select id from urls)"},
      {L"segment_usage",
       "delete from segment_usage where segment_id not in (select id from segments)"},
      {L"keyword_search_terms",
       "delete from keyword_search_terms where url_id not in (select id from urls)"},
      {L"presentation", "delete from presentation where url_id not in (select id from urls)"},
      {L"visits", "delete from visits"},
      // Tables of today's schemas keyed by visit: every visit goes, so
      // all of their rows go (cleared whole, which is far quicker than
      // row by row), and the clusters built from the visits with them.
      {L"visit_source", "delete from visit_source"},
      {L"content_annotations", "delete from content_annotations"},
      {L"context_annotations", "delete from context_annotations"},
      {L"clusters_and_visits", "delete from clusters_and_visits"},
      {L"cluster_visit_duplicates", "delete from cluster_visit_duplicates"},
      {L"clusters", "delete from clusters"},
      {L"cluster_keywords", "delete from cluster_keywords"},
      // Keyed by url.
      {L"typed_url_sync_metadata",
       "delete from typed_url_sync_metadata where storage_key not in (select id from urls)"},
  };
  for (const auto &[table, statement] : kHistorySteps)
    if (history.HasTable(table))
      history.RunStatement(statement);
  if (history.HasTable(L"visited_links"))
    KeepRowsWhere(history, "visited_links", "link_url_id in (select id from urls)");

  historyTransaction.Commit();
  thumbnailsTransaction.Commit();
}

} // namespace velmora::drevka
