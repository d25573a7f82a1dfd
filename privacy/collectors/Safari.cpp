// Safari traces: property lists and the cache database, deleted as files.
#include "privacy/PrivacyScanner.h"
#include "privacy/ProcessCheck.h"
#include "privacy/ScannerDetail.h"

#include "base/FolderEntries.h"

namespace velmora {

void TPrivacyScanner::CollectSafari(const std::wstring &categoryKey, ITextLabel &progressLabel) {
  if (Cancelled)
    return;
  const std::wstring roaming = Locations.AppDataPath;
  const std::wstring local = Locations.FolderOfKind(fkLocalAppData);
  // Each file is looked for only below a known folder.
  auto record = [this, &progressLabel](const std::wstring &base, const wchar_t *name,
                                       const std::wstring &relative) {
    progressLabel.SetCaption(name);
    const std::wstring path = base + L"\\Apple Computer\\Safari" + relative;
    if (!base.empty() && FileExists(path))
      CollectPath(path);
  };
  if (categoryKey == L"Cookie") {
    record(roaming, L"Cookies.plist", L"\\Cookies\\Cookies.plist");
  } else if (categoryKey == L"Cache") {
    if (IsProcessRunning(L"Safari.exe"))
      return;
    record(local, L"Cache.db", L"\\Cache.db");
  } else if (categoryKey == L"History") {
    record(roaming, L"History.plist", L"\\History.plist");
    record(roaming, L"Downloads.plist", L"\\Downloads.plist");
  } else if (categoryKey == L"SavedForm") {
    record(roaming, L"Form Values.plist", L"\\Form Values.plist");
  }
}

} // namespace velmora
