// Windows: the recently used documents (Recent folder and Explorer's
// RecentDocs list) and the history of the Start menu's Run box.
#include "privacy/PrivacyScanner.h"
#include "privacy/ScannerDetail.h"

#include "base/RegistryKey.h"

#include <windows.h>

namespace velmora {

namespace {

const wchar_t kRecentDocsKey[] =
    L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
const wchar_t kRunMruKey[] = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

} // namespace

void TPrivacyScanner::CollectWindows(const std::wstring &categoryKey, ITextLabel &progressLabel) {
  if (Cancelled)
    return;
  const std::wstring recent = Locations.FolderOfKind(fkRecent);
  if (categoryKey == L"Recent") {
    progressLabel.SetCaption(privacy::Caption60(recent));
    CollectFolder(recent);
    CollectRecentDocs(progressLabel);
  } else if (categoryKey == L"StartMenu") {
    progressLabel.SetCaption(L"StartMenu");
    CollectRunMru();
  }
}

void TPrivacyScanner::CollectRecentDocs(ITextLabel &progressLabel) {
  const TRegistryKey key(HKEY_CURRENT_USER, privacy::RegistrySubkey(kRecentDocsKey));
  if (!key.Valid())
    return;
  const std::vector<std::wstring> subkeys = key.SubkeyNames();
  // Every value counts, whatever its type (the list order value included).
  for (const std::wstring &name : key.ValueNames()) {
    if (Cancelled)
      return;
    PumpBetweenEntries();
    progressLabel.SetCaption(name);
    if (RecordRegistryValue(kRecentDocsKey, name))
      ++RegistryItemCount;
  }
  // One subkey per file type; the caption follows every fifth of them.
  for (size_t k = 0; k < subkeys.size(); ++k) {
    if (Cancelled)
      return;
    const std::wstring subPath = std::wstring(kRecentDocsKey) + L"\\" + subkeys[k];
    const TRegistryKey sub(HKEY_CURRENT_USER, privacy::RegistrySubkey(subPath));
    for (const std::wstring &name : sub.ValueNames()) {
      PumpBetweenEntries();
      if (k % 5 == 0)
        progressLabel.SetCaption(name);
      if (RecordRegistryValue(subPath, name))
        ++RegistryItemCount;
    }
  }
}

void TPrivacyScanner::CollectRunMru() {
  const TRegistryKey key(HKEY_CURRENT_USER, privacy::RegistrySubkey(kRunMruKey));
  // Only string values; the list order value "MRUList" is one as well.
  for (const std::wstring &name : key.ValueNames())
    if (key.ValueType(name) == REG_SZ && RecordRegistryValue(kRunMruKey, name))
      ++RegistryItemCount;
}

} // namespace velmora
