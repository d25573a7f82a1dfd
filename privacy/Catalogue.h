#pragma once
// The trace catalogue: position p (1-based) of the selection string is one
// leaf of the privacy check tree, served by one collector with one
// category key.
#include "privacy/PrivacyScanner.h"

#include <array>

namespace velmora::privacy {

using TCollector = void (TPrivacyScanner::*)(const std::wstring &categoryKey,
                                             ITextLabel &progressLabel);

struct TCatalogueRow {
  int Position;
  TCollector Collector;
  const wchar_t *CategoryKey;
};

inline constexpr int kCatalogueSize = 57;
// The rows a stored selection of the first version has; the rows after
// them are walked only when the selection reaches them.
inline constexpr int kFirstVersionRows = 42;
// The browsers whose running process the analysis checks before their rows.
inline constexpr int kFirstFirefoxPosition = 7, kLastFirefoxPosition = 11;
inline constexpr int kFirstChromePosition = 12, kLastChromePosition = 16;
struct TBrowserRows {
  int First, Last;
  const wchar_t *Process;
};
inline constexpr TBrowserRows kChromiumBrowserRows[] = {{17, 19, L"opera.exe"},
                                                        {43, 47, L"msedge.exe"},
                                                        {48, 52, L"brave.exe"},
                                                        {53, 57, L"vivaldi.exe"}};

const std::array<TCatalogueRow, kCatalogueSize> &TraceCatalogue();

} // namespace velmora::privacy
