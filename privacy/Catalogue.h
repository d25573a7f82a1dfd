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

inline constexpr int kCatalogueSize = 42;
// The browsers whose running process the analysis checks before their rows.
inline constexpr int kFirstFirefoxPosition = 7, kLastFirefoxPosition = 11;
inline constexpr int kFirstChromePosition = 12, kLastChromePosition = 16;

const std::array<TCatalogueRow, kCatalogueSize> &TraceCatalogue();

} // namespace velmora::privacy
