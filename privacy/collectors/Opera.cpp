// Opera traces: the old Opera's plain files below its profile folder,
// deleted as files, and the Chromium-based Opera and Opera GX.
#include "privacy/PrivacyScanner.h"
#include "privacy/ScannerDetail.h"
#include "privacy/collectors/ChromiumBrowsers.h"

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
  CollectOldOpera(categoryKey, progressLabel);
  // The three rows of today's Opera: its history row also takes the
  // download history, which the same database holds.
  for (const privacy::TChromiumBrowser *opera : {&privacy::kOpera, &privacy::kOperaGx}) {
    CollectChromium(*opera, categoryKey, progressLabel);
    if (categoryKey == L"History")
      CollectChromium(*opera, L"Download History", progressLabel);
  }
}

void TPrivacyScanner::CollectOldOpera(const std::wstring &categoryKey, ITextLabel &progressLabel) {
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
