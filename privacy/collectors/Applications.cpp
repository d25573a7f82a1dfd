// Other applications: one row of the application table per leaf.
#include "privacy/PrivacyScanner.h"
#include "privacy/ScannerDetail.h"
#include "privacy/collectors/ApplicationTable.h"

#include "base/FolderEntries.h"
#include "system/Routines.h"

namespace velmora {

void TPrivacyScanner::CollectApplications(const std::wstring &categoryKey,
                                          ITextLabel &progressLabel) {
  using namespace privacy;
  if (Cancelled)
    return;
  // The two bases, taken afresh at every call.
  const std::wstring appData = Locations.FolderOfKind(fkAppData);
  const std::wstring systemDrive = SystemFolder().substr(0, 2);
  auto fullPath = [&](const TAppLocation &l) {
    return (l.Base == TPathBase::AppData ? appData : systemDrive) + l.Path;
  };

  for (const TAppRow &row : ApplicationTable()) {
    if (row.CategoryKey != categoryKey)
      continue;
    std::wstring caption = row.Caption;
    if (caption.empty() && !row.Locations.empty())
      caption = Caption60(fullPath(row.Locations.front()));
    progressLabel.SetCaption(caption);
    for (const TAppLocation &l : row.Locations) {
      // Without its base a relative path would name a folder of the
      // current drive's root: such a location is left out.
      if (l.Base != TPathBase::Registry &&
          (l.Base == TPathBase::AppData ? appData : systemDrive).empty())
        continue;
      switch (l.Kind) {
      case TLocationKind::FolderOneLevel:
        CollectFolder(fullPath(l));
        break;
      case TLocationKind::FolderTree:
        CollectTree(fullPath(l));
        break;
      case TLocationKind::File:
        if (FileExists(fullPath(l)))
          CollectPath(fullPath(l));
        break;
      case TLocationKind::Key:
        AddUserKey(l.Path);
        break;
      case TLocationKind::Value:
        AddUserValue(l.Path);
        break;
      }
    }
  }
}

} // namespace velmora
