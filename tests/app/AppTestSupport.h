#pragma once
// Shared pieces of the window tests: a fresh configuration file, the main
// window made and shown in this process, actions that run while a handler
// below them pumps messages, and mouse messages for the graphic controls.
#include "app/UnitMain.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velmora::test {

// A selection with only position 25 ("Start Menu" Run history) checked,
// and the key whose values that analyses.
inline const wchar_t kOnlyRunHistory[] =
    L"000000000000000000000000100000000000000000000000000000000";
inline const wchar_t kRunMru[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

// The configuration file of the program in the prefix.
std::wstring ConfigPath();
// Deletes the configuration file (and makes it writable first).
void RemoveConfig();
// Common controls and COM for the test thread (once).
void InitWindowing();

// Runs calls when the thread next dispatches messages: inside a handler's
// message pump, a modal loop, or ProcessMessages.
class TPostedActions {
public:
  TPostedActions();
  ~TPostedActions();
  void Post(std::function<void()> action);
  // Drops the actions that did not run.
  void Clear() { actions_.clear(); }

private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND window_;
  std::deque<std::function<void()>> actions_;
};

// A recorded message box.
struct TBoxCall {
  std::wstring Text, Title;
  UINT Flags;
};

class FormTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() { InitWindowing(); }
  void SetUp() override { RemoveConfig(); }
  void TearDown() override;

  // Makes and shows the main window; the language is English unless given.
  // Without pump the messages of the showing (its activation) still wait.
  TFormMain &Open(TFormSettings settings = {}, bool pump = true);
  void Pump();

  // A click (button down and up) at a point of a panel's client area.
  void ClickAt(TPanel &panel, POINT p);
  void MouseMove(TPanel &panel, POINT p);
  void MouseLeave(TPanel &panel);
  // Centre of a graphic control.
  static POINT CentreOf(const TGraphicControl &control);
  // A push button or check box pressed as the user would (BM_CLICK).
  static void Press(const TWinControl &control);
  static bool Shown(HWND hwnd) { return IsWindowVisible(hwnd) != FALSE; }

  std::unique_ptr<TFormMain> form;
  TPostedActions actions;
  std::vector<TBoxCall> boxes;
  int boxAnswer = IDOK;
};

} // namespace velmora::test
