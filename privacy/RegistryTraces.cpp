// Registry helpers: record keys and values below HKEY_CURRENT_USER, and
// delete a key with its subkeys.
#include "privacy/PrivacyScanner.h"
#include "privacy/ScannerDetail.h"

#include "base/RegistryKey.h"
#include "base/Text.h"

namespace velmora {

using privacy::kUserRoot;
using privacy::RegistrySubkey;

bool TPrivacyScanner::RecordRegistryValue(const std::wstring &keyPath,
                                          const std::wstring &valueName) {
  // The target's first '/' ends the key path; a key whose name holds a '/'
  // could not be told apart from its value name, so it is not recorded.
  if (keyPath.find(L'/') != std::wstring::npos)
    return false;
  DetailLines.push_back(kUserRoot + keyPath + L"\\" + valueName);
  Targets.push_back(kUserRoot + keyPath + L"/" + valueName);
  return true;
}

void TPrivacyScanner::DeleteUserKey(const std::wstring &keyPath) {
  const std::wstring subkey = RegistrySubkey(keyPath);
  // An empty path would name HKEY_CURRENT_USER itself.
  if (subkey.empty() || !TRegistryKey::Exists(HKEY_CURRENT_USER, subkey))
    return;
  TRegistryKey::DeleteTree(HKEY_CURRENT_USER, subkey);
}

void TPrivacyScanner::AddUserKey(const std::wstring &keyPath) {
  const std::wstring subkey = RegistrySubkey(keyPath);
  if (subkey.empty() || keyPath.find(L'/') != std::wstring::npos ||
      !TRegistryKey::Exists(HKEY_CURRENT_USER, subkey))
    return;
  ++RegistryItemCount;
  DetailLines.push_back(kUserRoot + keyPath);
  Targets.push_back(kUserRoot + keyPath);
}

void TPrivacyScanner::AddUserValue(const std::wstring &keyAndValue) {
  const size_t bar = keyAndValue.find(L'|');
  if (bar == std::wstring::npos)
    return;
  const std::wstring keyPath = keyAndValue.substr(0, bar);
  const std::wstring valueName = Trim(keyAndValue.substr(bar + 1));
  if (RegistrySubkey(keyPath).empty())
    return;
  const TRegistryKey key(HKEY_CURRENT_USER, RegistrySubkey(keyPath));
  if (!key.Valid() || !key.ValueExists(valueName))
    return;
  if (RecordRegistryValue(keyPath, valueName))
    ++RegistryItemCount;
}

void TPrivacyScanner::CollectValuesOneLevelDown(const std::wstring &keyPath) {
  const TRegistryKey key(HKEY_CURRENT_USER, RegistrySubkey(keyPath));
  if (!key.Valid())
    return;
  for (const std::wstring &name : key.ValueNames())
    if (RecordRegistryValue(keyPath, name))
      ++ItemCount;
  for (const std::wstring &subkeyName : key.SubkeyNames()) {
    const std::wstring subPath = keyPath + L"\\" + subkeyName;
    const TRegistryKey sub(HKEY_CURRENT_USER, RegistrySubkey(subPath));
    for (const std::wstring &name : sub.ValueNames())
      if (RecordRegistryValue(subPath, name))
        ++ItemCount;
  }
}

} // namespace velmora
