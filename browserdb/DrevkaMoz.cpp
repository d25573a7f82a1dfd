// The Firefox history repair (run in one transaction, NULLs left out of the
// NOT IN lists, deleted rows overwritten).
#include "browserdb/DrevkaCommon.h"

namespace velmora::drevka {

void RepairMozHistory(const std::wstring &path) {
  // A log that cannot be written is passed over.
  WriteRepairLog(L"1:" + path);
  if (!FileExists(path))
    return;
  WriteRepairLog(path);
  TSQLiteDatabase db(path, TSQLiteDatabase::TOpenMode::ExistingOnly);
  TRepairTransaction transaction(db);
  if (db.HasTable(L"moz_places")) {
    WriteRepairLog(L"moz_places");
    // Mend: a NULL fk (Firefox's folders and separators) would make the
    // NOT IN test never true; it is left out of the list.
    db.RunStatement("delete from moz_places where id  in (select place_id from moz_historyvisits) "
                    " and id not in  (select fk from moz_bookmarks where fk is not null)");
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
  transaction.Commit();
}

} // namespace velmora::drevka
