// Internet Explorer: typed addresses, cookies, history, index.dat files and
// the stores of saved form and password data; and the URL history that a
// cleaning of the History leaf empties.
#include "privacy/PrivacyScanner.h"
#include "privacy/ScannerDetail.h"

#include "base/Com.h"
#include "base/Error.h"
#include "base/RegistryKey.h"
#include "base/Text.h"

#include <windows.h>

#include <objbase.h>
#include <urlhist.h>

namespace velmora {

namespace {

const wchar_t kTypedUrlsKey[] = L"\\Software\\Microsoft\\Internet Explorer\\TypedURLs";
const wchar_t kIntelliFormsKey[] = L"\\Software\\Microsoft\\Internet Explorer\\IntelliForms";
const wchar_t kProtectedStorageKey[] = L"\\Software\\Microsoft\\Protected Storage System Provider";

// The last folder name of a path, as the progress caption shows it.
std::wstring FolderName(const std::wstring &folder) {
  return ExtractFileName(ExcludeTrailingBackslash(folder));
}

// CLSID_CUrlHistory and IID_IUrlHistoryStg2.
const CLSID kUrlHistoryClass = {
    0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
const IID kUrlHistoryStg2 = {
    0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

} // namespace

void TPrivacyScanner::CollectInternetExplorer(const std::wstring &categoryKey,
                                              ITextLabel &progressLabel) {
  if (Cancelled)
    return;
  const std::wstring cookies = Locations.FolderOfKind(fkCookies);
  const std::wstring cache = Locations.FolderOfKind(fkInternetCache);
  const std::wstring history = Locations.FolderOfKind(fkHistory);

  if (categoryKey == L"Cookies") {
    progressLabel.SetCaption(privacy::Caption60(FolderName(cookies)));
    CollectIeCookies();
  } else if (categoryKey == L"History") {
    progressLabel.SetCaption(privacy::Caption60(FolderName(history)));
    IeHistorySelected = true;
    CollectTree(history);
  } else if (categoryKey == L"Index.dat") {
    progressLabel.SetCaption(L"Index.dat");
    CollectIndexDat(cache);
    CollectIndexDat(cookies);
  } else if (categoryKey == L"IEUrl") {
    progressLabel.SetCaption(L"TypedURLs");
    CollectTypedUrls();
  } else if (categoryKey == L"AutoPassHistory") {
    progressLabel.SetCaption(L"IntelliForms");
    CollectIntelliForms();
  } else if (categoryKey == L"AutoFormHistory") {
    progressLabel.SetCaption(L"Protected Storage System Provider");
    CollectProtectedStorage();
  }
}

void TPrivacyScanner::CollectTypedUrls() {
  const TRegistryKey key(HKEY_CURRENT_USER, privacy::RegistrySubkey(kTypedUrlsKey));
  for (const std::wstring &name : key.ValueNames())
    if (key.ValueType(name) == REG_SZ && RecordRegistryValue(kTypedUrlsKey, name))
      ++ItemCount;
}

void TPrivacyScanner::CollectIntelliForms() { CollectValuesOneLevelDown(kIntelliFormsKey); }

void TPrivacyScanner::CollectProtectedStorage() { CollectValuesOneLevelDown(kProtectedStorageKey); }

void TPrivacyScanner::ClearIeHistory() {
  // The caller's thread normally has COM running already; if not, it runs
  // for this call only.
  const TComApartment com;
  TComPtr<IUrlHistoryStg2> history;
  const HRESULT hr =
      ::CoCreateInstance(kUrlHistoryClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                         kUrlHistoryStg2, history.ReceiveVoid());
  if (FAILED(hr) || !history)
    throw EAppError(L"The Internet Explorer URL history cannot be opened.");
  history->ClearHistory(); // its result does not matter
}

} // namespace velmora
