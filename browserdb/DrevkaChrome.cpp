// The Chrome history repair (run in one transaction per database, the kept
// ids in temporary tables, deleted rows overwritten).
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

} // namespace

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

  const bool hasUrls = history.HasTable(L"urls");
  if (hasUrls) {
    const auto rows = history.QueryTable("select id,url,favicon_id from urls");
    if (!bookmarks.empty() && rows->RowCount() > 0) {
      const TQuotedTexts quoted(bookmarks);
      const int id = rows->ColumnIndex(L"id");
      const int url = rows->ColumnIndex(L"url");
      const int faviconId = rows->ColumnIndex(L"favicon_id");
      for (int i = 0; i < rows->RowCount(); ++i) {
        if (quoted.ContainsQuoted(rows->ColumnText(url))) {
          // The kept ids go into temporary tables, never into SQL text;
          // NULLs and anything but an integer are left out.
          if (const auto kept = IntegerOf(rows->ColumnText(id)))
            urlIds.push_back(*kept);
          if (const auto icon = IntegerOf(rows->ColumnText(faviconId)))
            faviconIds.push_back(*icon);
        }
        rows->MoveNext();
      }
    }
  }
  const bool hasFavicons = thumbnails.HasTable(L"favicons");
  const bool hasThumbnails = thumbnails.HasTable(L"thumbnails");
  if (hasUrls)
    MakeIdTable(history, "drevka_kept_urls", urlIds);
  if (hasThumbnails)
    MakeIdTable(thumbnails, "drevka_kept_urls", urlIds);
  if (hasFavicons)
    MakeIdTable(thumbnails, "drevka_kept_icons", faviconIds);

  if (hasUrls)
    history.RunStatement("delete from urls where not id in (select id from temp.drevka_kept_urls)");
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
  };
  for (const auto &[table, statement] : kHistorySteps)
    if (history.HasTable(table))
      history.RunStatement(statement);

  historyTransaction.Commit();
  thumbnailsTransaction.Commit();
}

} // namespace velmora::drevka
