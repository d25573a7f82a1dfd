#include "privacy/Catalogue.h"

namespace velmora::privacy {

const std::array<TCatalogueRow, kCatalogueSize> &TraceCatalogue() {
  using S = TPrivacyScanner;
  static const std::array<TCatalogueRow, kCatalogueSize> rows = {{
      // Internet Explorer
      {1, &S::CollectInternetExplorer, L"IEUrl"},
      {2, &S::CollectInternetExplorer, L"Cookies"},
      {3, &S::CollectInternetExplorer, L"History"},
      {4, &S::CollectInternetExplorer, L"Index.dat"},
      {5, &S::CollectInternetExplorer, L"AutoFormHistory"},
      {6, &S::CollectInternetExplorer, L"AutoPassHistory"},
      // Mozilla Firefox
      {7, &S::CollectFirefox, L"Cookie"},
      {8, &S::CollectFirefox, L"Download History"},
      {9, &S::CollectFirefox, L"History"},
      {10, &S::CollectFirefox, L"Saved Form"},
      {11, &S::CollectFirefox, L"Cache"},
      // Google Chrome
      {12, &S::CollectChrome, L"Cookie"},
      {13, &S::CollectChrome, L"Download History"},
      {14, &S::CollectChrome, L"History"},
      {15, &S::CollectChrome, L"Saved Form"},
      {16, &S::CollectChrome, L"Cache"},
      // Opera
      {17, &S::CollectOpera, L"Cookie"},
      {18, &S::CollectOpera, L"History"},
      {19, &S::CollectOpera, L"Cache"},
      // Safari
      {20, &S::CollectSafari, L"Cookie"},
      {21, &S::CollectSafari, L"Cache"},
      {22, &S::CollectSafari, L"History"},
      {23, &S::CollectSafari, L"SavedForm"},
      // Windows
      {24, &S::CollectWindows, L"Recent"},
      {25, &S::CollectWindows, L"StartMenu"},
      // Other applications
      {26, &S::CollectApplications, L"office"},
      {27, &S::CollectApplications, L"vb"},
      {28, &S::CollectApplications, L"delphi"},
      {29, &S::CollectApplications, L"reader"},
      {30, &S::CollectApplications, L"photoshop"},
      {31, &S::CollectApplications, L"flash"},
      {32, &S::CollectApplications, L"media"},
      {33, &S::CollectApplications, L"real"},
      {34, &S::CollectApplications, L"quicktime"},
      {35, &S::CollectApplications, L"getright"},
      {36, &S::CollectApplications, L"plus"},
      {37, &S::CollectApplications, L"morpheus"},
      {38, &S::CollectApplications, L"sun"},
      {39, &S::CollectApplications, L"google"},
      {40, &S::CollectApplications, L"winrar"},
      {41, &S::CollectApplications, L"winzip"},
      {42, &S::CollectApplications, L"7zip"},
  }};
  return rows;
}

} // namespace velmora::privacy
