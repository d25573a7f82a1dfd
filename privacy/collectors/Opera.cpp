// Opera traces: plain files below the profile folder, deleted as files.
#include "privacy/PrivacyScanner.h"
#include "privacy/ScannerDetail.h"

#include "base/FolderEntries.h"

namespace velmora {

std::wstring TPrivacyScanner::FindOperaFolder() const {
  const std::wstring base = Locations.FolderOfKind(fkAppData);
  if (base.empty())
    return std::wstring();
  const std::wstring opera = base + L"\\Opera";
  // The last entry listed wins, file or folder.
  std::wstring found;
  TFolderEntries entries(opera + L"\\*.*");
  TFolderEntry e;
  while (entries.Next(e))
    found = opera + L"\\" + e.Name;
  return found;
}

void TPrivacyScanner::CollectOpera(const std::wstring &categoryKey, ITextLabel &progressLabel) {
  if (Cancelled)
    return;
  const std::wstring folder = FindOperaFolder();
  if (folder.empty())
    return;
  auto recordIfPresent = [this](const std::wstring &path) {
    if (FileExists(path))
      CollectPath(path);
  };
  if (categoryKey == L"Cookie") {
    progressLabel.SetCaption(L"profile\\cookies4.dat");
    recordIfPresent(folder + L"\\profile\\cookies4.dat");
  } else if (categoryKey == L"History") {
    progressLabel.SetCaption(L"profile\\global.dat");
    for (const wchar_t *name :
         {L"\\profile\\global.dat", L"\\profile\\opera.dir", L"\\profile\\download.dat",
          L"\\profile\\vlink4.dat", L"\\profile\\sessions\\autosave.win"})
      recordIfPresent(folder + name);
  } else if (categoryKey == L"Cache") {
    progressLabel.SetCaption(L"profile\\cache4");
    CollectTree(folder + L"\\profile\\cache4");
  }
}

} // namespace velmora
