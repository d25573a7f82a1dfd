// Closing the window while work runs: the process ends within its bound
// for each kind of work, and a start meanwhile waits for that end and then
// shows its own window.
#include "AppTestSupport.h"
#include "CookieCacheEntry.h"
#include "TestSupport.h"
#include "VelmoraProcess.h"

#include "settings/ConfigFile.h"

#include <memory>
#include <vector>

using namespace velmora;
using namespace velmora::test;

namespace {

// What the tests allow for the process to be gone after the close: the
// work's own bound (two seconds) and Wine's process teardown.
const DWORD kEndBoundMs = 4000;
// With a removal library that never returns: its bounded wait on top.
const DWORD kAbandonedEndBoundMs = 9000;

bool WaitUntil(const std::function<bool()> &condition, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() > deadline)
      return false;
    Sleep(50);
  }
  return true;
}

HWND Button(HWND window, const wchar_t *panel, const wchar_t *caption) {
  HWND view = FindPanel(window, panel);
  return view ? FindControl(view, L"Button", caption) : nullptr;
}

// Presses a button of the other process without waiting for its handler.
void Press(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

class ClosingTest : public ::testing::Test {
protected:
  void SetUp() override {
    RemoveConfig();
    RegDeleteTree(kRunMru);
    RegWriteString(kRunMru, L"a", L"notepad\\1");
    RegWriteString(kRunMru, L"MRUList", L"a");
  }
  void TearDown() override { RegDeleteTree(kRunMru); }

  // Closes the window and measures how long the process takes to go.
  DWORD CloseAndTime(TVelmoraProcess &velmora, HWND window, DWORD limitMs) {
    const ULONGLONG start = GetTickCount64();
    PostMessageW(window, WM_CLOSE, 0, 0);
    // The window goes away at once.
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, 1000));
    EXPECT_NE(velmora.WaitForExit(limitMs + 5000), static_cast<DWORD>(STILL_ACTIVE));
    const DWORD took = static_cast<DWORD>(GetTickCount64() - start);
    EXPECT_LE(took, limitMs);
    return took;
  }

  // A start after the close shows its window.
  void ExpectNewStartShowsItsWindow() {
    TVelmoraProcess next;
    ASSERT_TRUE(next.Started());
    EXPECT_NE(next.WaitForWindow(20000), nullptr);
  }
};

} // namespace

TEST_F(ClosingTest, DuringPrivacyAnalysis) {
  TConfigFile(ConfigPath())
      .WriteString(cfg::kVelmoraSection, cfg::kSelection, std::wstring(57, L'1'));
  TVelmoraProcess velmora;
  HWND window = velmora.WaitForWindow();
  ASSERT_NE(window, nullptr);
  Press(Button(window, L"pnlPrivacy", L"Analyze"));
  ASSERT_TRUE(WaitUntil([&] { return Button(window, L"pnlPrivacy", L"Cancel") != nullptr; }, 5000));
  const DWORD took = CloseAndTime(velmora, window, kEndBoundMs);
  std::printf("privacy analysis: process gone %lu ms after the close\n", took);
  ExpectNewStartShowsItsWindow();
}

TEST_F(ClosingTest, DuringPrivacyCleaning) {
  TConfigFile(ConfigPath()).WriteString(cfg::kVelmoraSection, cfg::kSelection, kOnlyRunHistory);
  TVelmoraProcess velmora;
  HWND window = velmora.WaitForWindow();
  ASSERT_NE(window, nullptr);
  Press(Button(window, L"pnlPrivacy", L"Analyze"));
  HWND clean = Button(window, L"pnlPrivacy", L"Clean");
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(clean) != FALSE; }, 30000));
  HWND analyze = Button(window, L"pnlPrivacy", L"Analyze");
  Press(clean);
  // The cleaning runs while Analyze is off.
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(analyze); }, 5000));
  const DWORD took = CloseAndTime(velmora, window, kEndBoundMs);
  std::printf("privacy cleaning: process gone %lu ms after the close\n", took);
  ExpectNewStartShowsItsWindow();
}

TEST_F(ClosingTest, DuringJunkAnalysis) {
  TVelmoraProcess velmora;
  HWND window = velmora.WaitForWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(ClickNavigation(window, L"junk"));
  Press(Button(window, L"pnlTemp", L"Analyze"));
  ASSERT_TRUE(WaitUntil([&] { return Button(window, L"pnlTemp", L"Cancel") != nullptr; }, 5000));
  const DWORD took = CloseAndTime(velmora, window, kEndBoundMs);
  std::printf("junk analysis: process gone %lu ms after the close\n", took);
  ExpectNewStartShowsItsWindow();
}

TEST_F(ClosingTest, DuringCookieListing) {
  std::vector<std::unique_ptr<TCookieCacheEntry>> cookies;
  for (int i = 0; i < 300; ++i)
    cookies.push_back(std::make_unique<TCookieCacheEntry>(
        L"Cookie:user@closing" + std::to_wstring(i) + L".example/", 64));
  TVelmoraProcess velmora;
  HWND window = velmora.WaitForWindow();
  ASSERT_NE(window, nullptr);
  HWND bar = FindPanel(window, L"pnl1");
  ASSERT_NE(bar, nullptr);
  // The listing starts with the opening of the view and pumps messages
  // between entries: the close, queued behind the click, comes in while
  // it runs.
  PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(54, 273));
  PostMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(54, 273));
  const DWORD took = CloseAndTime(velmora, window, kEndBoundMs);
  std::printf("cookie listing: process gone %lu ms after the close\n", took);
  ExpectNewStartShowsItsWindow();
}

TEST_F(ClosingTest, DuringJunkCleaningWithARemovalLibraryThatNeverReturns) {
  // A copy of the program whose removal library hangs.
  const std::wstring folder = ProgramFolder() + L"closing-copy\\";
  RemoveTree(folder);
  MakeFolders(folder);
  ASSERT_TRUE(CopyFileW((ProgramFolder() + L"Velmora.exe").c_str(),
                        (folder + L"Velmora.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileW((ProgramFolder() + L"hanging_removal.dll").c_str(),
                        (folder + L"Tosmir.dll").c_str(), FALSE));
  {
    TVelmoraProcess velmora(L"", L"closing-copy\\Velmora.exe");
    HWND window = velmora.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(ClickNavigation(window, L"junk"));
    Press(Button(window, L"pnlTemp", L"Analyze"));
    HWND clean = Button(window, L"pnlTemp", L"Clean");
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(clean) != FALSE; }, 60000));
    HWND analyze = Button(window, L"pnlTemp", L"Analyze");
    Press(clean);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(analyze); }, 5000));
    Sleep(500); // the removal library is called and hangs

    // A start while the first is ending waits for that end, then shows
    // its own window (the same instance name: Velmora.exe).
    const ULONGLONG start = GetTickCount64();
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, 1000));
    TVelmoraProcess next;
    ASSERT_TRUE(next.Started());
    EXPECT_NE(velmora.WaitForExit(kAbandonedEndBoundMs + 5000), static_cast<DWORD>(STILL_ACTIVE));
    const DWORD took = static_cast<DWORD>(GetTickCount64() - start);
    EXPECT_LE(took, kAbandonedEndBoundMs);
    std::printf("junk cleaning, removal library hanging: process gone %lu ms after the close\n",
                took);
    EXPECT_NE(next.WaitForWindow(20000), nullptr);
    EXPECT_EQ(CountMainWindows(0), 1);
  }
  RemoveTree(folder);
}
