// The Chrome history repair (run in one transaction, NULL ids left out of the
// id lists, deleted rows overwritten).
#include "browserdb/DrevkaCommon.h"

#include "base/Text.h"

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

void RepairChromeHistory(const std::wstring &bookmarksPath, const std::wstring &historyPath,
                         const std::wstring &thumbnailsPath) {
  std::wstring urlIds, faviconIds;
  std::wstring bookmarks;
  if (FileExists(bookmarksPath))
    bookmarks = ReadTextFile(bookmarksPath);

  // No existence test: a missing database becomes a new, empty one.
  TSQLiteDatabase history(historyPath);
  TSQLiteDatabase thumbnails(thumbnailsPath);
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
          urlIds += L"," + rows->ColumnText(id);
          // Mend: a NULL favicon id is left out of the list (it would make
          // the favicon statement invalid).
          const std::wstring icon = rows->ColumnText(faviconId);
          if (!icon.empty())
            faviconIds += L"," + icon;
        }
        rows->MoveNext();
      }
    }
  }
  const auto withoutFirst = [](const std::wstring &list) {
    return list.empty() ? std::wstring() : list.substr(1);
  };
  if (hasUrls)
    history.RunStatement(
        ToAnsi(L"delete from urls where not id in (" + withoutFirst(urlIds) + L")"));
  if (thumbnails.HasTable(L"favicons"))
    thumbnails.RunStatement(
        ToAnsi(L"delete from favicons where not id in(" + withoutFirst(faviconIds) + L")"));
  if (thumbnails.HasTable(L"thumbnails"))
    thumbnails.RunStatement(
        ToAnsi(L"delete from thumbnails where url_id not in (" + withoutFirst(urlIds) + L")"));

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
