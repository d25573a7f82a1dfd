#include "app/controls/Window.h"

#include "base/Error.h"
#include "base/Handles.h"
#include "base/Text.h"

#include <map>
#include <utility>
#include <vector>

namespace velmora {

int RunMessageLoop(HWND dialogWindow) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (dialogWindow && IsWindow(dialogWindow) && IsDialogMessageW(dialogWindow, &msg))
      continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

TWindow::~TWindow() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void TWindow::RegisterClassOnce(const wchar_t *className, UINT style, HICON icon) {
  WNDCLASSEXW wc = {};
  if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &wc))
    return;
  wc.cbSize = sizeof(wc);
  wc.style = style;
  wc.lpfnWndProc = &TWindow::Thunk;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = icon;
  wc.hIconSm = icon;
  wc.lpszClassName = className;
  if (!RegisterClassExW(&wc))
    throw EAppError(L"Cannot register the window class " + std::wstring(className));
}

void TWindow::CreateHandle(DWORD exStyle, const wchar_t *className, const std::wstring &caption,
                           DWORD style, int x, int y, int width, int height, HWND parent) {
  HWND h = CreateWindowExW(exStyle, className, caption.c_str(), style, x, y, width, height, parent,
                           nullptr, GetModuleHandleW(nullptr), this);
  if (!h)
    throw EAppError(L"Cannot create the window " + caption);
}

LRESULT TWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultProc(message, wParam, lParam);
}

LRESULT TWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

namespace {
std::function<void(const std::wstring &)> &ErrorHandler() {
  static std::function<void(const std::wstring &)> handler;
  return handler;
}
} // namespace

void SetApplicationErrorHandler(std::function<void(const std::wstring &message)> handler) {
  ErrorHandler() = std::move(handler);
}

void TWindow::ReportError(const std::wstring &message) {
  if (ErrorHandler()) {
    ErrorHandler()(message);
    return;
  }
  wchar_t title[256] = L"";
  GetWindowTextW(GetAncestor(hwnd_, GA_ROOT), title, 256);
  MessageBoxW(GetAncestor(hwnd_, GA_ROOT), (message + L".").c_str(), title, MB_OK | MB_ICONERROR);
}

LRESULT CALLBACK TWindow::Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  TWindow *self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<TWindow *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<TWindow *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self)
    return DefWindowProcW(hwnd, message, wParam, lParam);
  LRESULT result = 0;
  try {
    result = self->WindowProc(message, wParam, lParam);
  } catch (const EAppError &e) {
    self->ReportError(e.Message());
  } catch (const std::exception &e) {
    // Out of memory, a bad conversion, a library's own error: shown as
    // ours are, and the window goes on.
    self->ReportError(FromAnsi(e.what()));
  } catch (...) {
    // Nothing unwinds through Windows code.
    self->ReportError(L"An unexpected error occurred");
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

namespace {
// Tahoma 8 pt: 11 pixels high at 96 DPI.
UniqueFont MakeTahoma(int weight, int dpi) {
  LOGFONTW lf = {};
  lf.lfHeight = -MulDiv(8, dpi, 72);
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
  return UniqueFont(CreateFontIndirectW(&lf));
}

// One font per weight and DPI, kept for the life of the process: controls
// hold them without owning them, and a window meets only a few DPIs.
HFONT CachedTahoma(int weight, int dpi) {
  static std::map<std::pair<int, int>, UniqueFont> fonts;
  UniqueFont &font = fonts[{weight, dpi}];
  if (!font)
    font = MakeTahoma(weight, dpi);
  return font.Get();
}
} // namespace

HFONT FormFont(int dpi) { return CachedTahoma(FW_NORMAL, dpi); }

HFONT FormBoldFont(int dpi) { return CachedTahoma(FW_BOLD, dpi); }

std::wstring WindowText(HWND hwnd) {
  const LRESULT length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  const LRESULT got =
      SendMessageW(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  return std::wstring(buffer.data(), static_cast<size_t>(got));
}

void SetWindowTextOf(HWND hwnd, const std::wstring &text) {
  SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

} // namespace velmora
