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
      // Microsoft Edge, Brave, Vivaldi: the Chrome leaves, in their order
      {43, &S::CollectEdge, L"Cookie"},
      {44, &S::CollectEdge, L"Download History"},
      {45, &S::CollectEdge, L"History"},
      {46, &S::CollectEdge, L"Saved Form"},
      {47, &S::CollectEdge, L"Cache"},
      {48, &S::CollectBrave, L"Cookie"},
      {49, &S::CollectBrave, L"Download History"},
      {50, &S::CollectBrave, L"History"},
      {51, &S::CollectBrave, L"Saved Form"},
      {52, &S::CollectBrave, L"Cache"},
      {53, &S::CollectVivaldi, L"Cookie"},
      {54, &S::CollectVivaldi, L"Download History"},
      {55, &S::CollectVivaldi, L"History"},
      {56, &S::CollectVivaldi, L"Saved Form"},
      {57, &S::CollectVivaldi, L"Cache"},
  }};
  return rows;
}

} // namespace velmora::privacy
