#include "base/Text.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// Report texts come from language packs: whatever a pack writes, a report
// line is filled without printf and never reads past its argument.
TEST(FillInTest, FillsEveryConversionOfItsKindAndNothingElse) {
  struct Case {
    const wchar_t *pattern;
    wchar_t conversion;
    const wchar_t *value;
    const wchar_t *expected;
  } cases[] = {
      {L"Total %d file(s) found.", L'd', L"12", L"Total 12 file(s) found."},
      {L"Total size: %s", L's', L"1.50 MB", L"Total size: 1.50 MB"},
      {L"%s (marked for deletion when you restart computer)", L's', L"C:\\a.txt",
       L"C:\\a.txt (marked for deletion when you restart computer)"},
      {L"%s and %s", L's', L"x", L"x and x"},             // every one of its kind
      {L"%d files, %s", L'd', L"3", L"3 files, %s"},      // another kind stays
      {L"100%% done: %s", L's', L"ok", L"100% done: ok"}, // "%%" is one '%'
      {L"50% off %n %x", L's', L"v", L"50% off %n %x"},   // other '%' stay
      {L"trailing %", L's', L"v", L"trailing %"},         // a lone '%' at the end
      {L"%s", L's', L"%s%d", L"%s%d"},                    // the value is not a pattern
      {L"", L's', L"v", L""},
  };
  for (const auto &c : cases)
    EXPECT_EQ(FillIn(c.pattern, c.conversion, c.value), c.expected) << c.pattern;
}

} // namespace
} // namespace velmora
