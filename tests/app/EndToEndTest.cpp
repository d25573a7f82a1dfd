// Velmora.exe started under Wine as the user starts it: one instance per
// executable name, and "/auto" analysing planted traces into the report.
#include "AppTestSupport.h"
#include "TestSupport.h"
#include "VelmoraProcess.h"

#include "settings/ConfigFile.h"

using namespace velmora;
using namespace velmora::test;

namespace {

bool WaitUntil(const std::function<bool()> &condition, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() > deadline)
      return false;
    Sleep(100);
  }
  return true;
}

} // namespace

class EndToEndTest : public ::testing::Test {
protected:
  void SetUp() override { RemoveConfig(); }
};

TEST_F(EndToEndTest, SecondStartBringsTheFirstWindowBackAndEnds) {
  TVelmoraProcess first;
  ASSERT_TRUE(first.Started());
  HWND window = first.WaitForWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(TextOf(window), L"Quorvix");
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 824);
  EXPECT_EQ(client.bottom, 564);

  ShowWindow(window, SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(window) != FALSE; }, 5000));

  TVelmoraProcess second;
  ASSERT_TRUE(second.Started());
  EXPECT_EQ(second.WaitForExit(), 0u);
  EXPECT_TRUE(
      WaitUntil([&] { return !IsIconic(window) && GetForegroundWindow() == window; }, 10000));
  EXPECT_EQ(CountMainWindows(0), 1);

  // Under another file name the program is an instance of its own.
  const std::wstring copy = ProgramFolder() + L"Velmora-copy.exe";
  ASSERT_TRUE(CopyFileW((ProgramFolder() + L"Velmora.exe").c_str(), copy.c_str(), FALSE));
  {
    TVelmoraProcess other(L"", L"Velmora-copy.exe");
    EXPECT_NE(other.WaitForWindow(), nullptr);
    EXPECT_EQ(CountMainWindows(0), 2);
  }
  DeleteFileW(copy.c_str());

  // Closing stores the selection.
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(first.WaitForExit(), 0u);
  EXPECT_EQ(TConfigFile(ConfigPath()).ReadString(cfg::kVelmoraSection, cfg::kSelection, L""),
            cfg::kDefaultSelection);
}

TEST_F(EndToEndTest, AutoAnalysesPlantedTracesIntoTheReport) {
  RegDeleteTree(kRunMru);
  RegWriteString(kRunMru, L"a", L"notepad\\1");
  RegWriteString(kRunMru, L"b", L"calc\\1");
  RegWriteString(kRunMru, L"MRUList", L"ba");
  TConfigFile(ConfigPath()).WriteString(cfg::kVelmoraSection, cfg::kSelection, kOnlyRunHistory);

  TVelmoraProcess velmora(L"/auto");
  HWND window = velmora.WaitForWindow();
  ASSERT_NE(window, nullptr);
  HWND privacy = FindPanel(window, L"pnlPrivacy");
  ASSERT_NE(privacy, nullptr);
  HWND memo = FindControl(privacy, L"Edit");
  ASSERT_NE(memo, nullptr);
  // The unattended analysis runs without a click and ends with its report;
  // the Analyze button reads "Analyze" again.
  std::wstring report;
  ASSERT_TRUE(WaitUntil(
      [&] {
        report = TextOf(memo);
        return report.find(L"Privacy Analysis Report") == 0 &&
               FindControl(privacy, L"Button", L"Analyze") != nullptr;
      },
      60000))
      << std::string(report.begin(), report.end());
  const std::wstring key = L"HKEY_CURRENT_USER\\" + std::wstring(kRunMru);
  EXPECT_NE(report.find(key + L"\\a\r\n"), std::wstring::npos)
      << std::string(report.begin(), report.end());
  EXPECT_NE(report.find(key + L"\\b"), std::wstring::npos);
  EXPECT_EQ(report.find(L"Total: 0 items"), std::wstring::npos);
  // Nothing was removed by the analysis.
  EXPECT_TRUE(RegValueExists(kRunMru, L"a"));
  RegDeleteTree(kRunMru);
}
