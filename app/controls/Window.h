#pragma once
// The small window framework of the program: components with a name for
// language packs, windows whose procedure is a member function (found
// through GWLP_USERDATA), message processing for long work on the GUI
// thread, and the fonts every control uses.
#include "settings/PLanguage.h"

#include "base/MessagePump.h"

#include <windows.h>

#include <functional>
#include <string>

namespace velmora {

// A named part of a form. Without a text rule it has nothing to translate.
class TComponent : public TTranslatable {
public:
  explicit TComponent(std::wstring name) : name_(std::move(name)) {}
  std::wstring Name() const override { return name_; }
  TTextRule Rule() const override { return TTextRule::None; }
  std::wstring Text(int) const override { return {}; }
  void SetText(int, const std::wstring &) override {}

private:
  std::wstring name_;
};

// Runs the message loop of the thread until WM_QUIT; returns its exit code.
// Keys of dialogWindow's controls (Tab, arrows, Space) move between them.
int RunMessageLoop(HWND dialogWindow = nullptr);

// A window whose messages go to the virtual WindowProc of a C++ object.
// Exceptions never leave WindowProc towards Windows: every one goes to
// ReportError with its message (a generic one when it carries none).
class TWindow {
public:
  TWindow() = default;
  TWindow(const TWindow &) = delete;
  TWindow &operator=(const TWindow &) = delete;
  virtual ~TWindow();

  HWND Handle() const { return hwnd_; }

protected:
  // Registers a window class routed to TWindow objects (once per name).
  static void RegisterClassOnce(const wchar_t *className, UINT style = 0, HICON icon = nullptr);
  // Creates the window for this object; throws EAppError on failure.
  void CreateHandle(DWORD exStyle, const wchar_t *className, const std::wstring &caption,
                    DWORD style, int x, int y, int width, int height, HWND parent);

  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual void ReportError(const std::wstring &message);
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
  static LRESULT CALLBACK Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};

// Where ReportError of every window sends an error that escaped a message
// handler: the application's error box. Null restores a plain error box.
void SetApplicationErrorHandler(std::function<void(const std::wstring &message)> handler);

// Tahoma 8 pt (height -11 at 96 DPI) at a DPI, plain and bold, shared by
// all controls.
HFONT FormFont(int dpi);
HFONT FormBoldFont(int dpi);

// Text of a window (WM_GETTEXT) and its replacement (WM_SETTEXT).
std::wstring WindowText(HWND hwnd);
void SetWindowTextOf(HWND hwnd, const std::wstring &text);

} // namespace velmora
