#include "AppTestSupport.h"

#include "TestSupport.h"
#include "settings/ConfigFile.h"
#include "system/AppFrame_New.h"

#include <commctrl.h>
#include <objbase.h>

namespace velmora::test {

std::wstring ConfigPath() {
  // Tests write the file before any window has made its folder (a fresh
  // prefix has none).
  const TAppFrame frame;
  MakeFolders(ConfigFolder(frame));
  return ConfigFilePath(frame);
}

void RemoveConfig() {
  const std::wstring path = ConfigPath();
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(path.c_str());
}

void InitWindowing() {
  static bool done = false;
  if (done)
    return;
  done = true;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_TAB_CLASSES |
                                                         ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES |
                                                         ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&controls);
}

namespace {
const wchar_t kActionsClass[] = L"VelmoraTestActions";
const UINT kRunAction = WM_APP + 50;
} // namespace

TPostedActions::TPostedActions() {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = &TPostedActions::Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kActionsClass;
  RegisterClassW(&wc);
  window_ = CreateWindowExW(0, kActionsClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            wc.hInstance, nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TPostedActions::~TPostedActions() { DestroyWindow(window_); }

void TPostedActions::Post(std::function<void()> action) {
  actions_.push_back(std::move(action));
  PostMessageW(window_, kRunAction, 0, 0);
}

LRESULT CALLBACK TPostedActions::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kRunAction)
    return DefWindowProcW(hwnd, message, wParam, lParam);
  auto *self = reinterpret_cast<TPostedActions *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && !self->actions_.empty()) {
    auto action = std::move(self->actions_.front());
    self->actions_.pop_front();
    action();
  }
  return 0;
}

void FormTest::TearDown() {
  actions.Clear();
  form.reset();
  Pump();
}

TFormMain &FormTest::Open(TFormSettings settings, bool pump) {
  if (settings.LanguageChoice.empty())
    settings.LanguageChoice = L"English";
  form = std::make_unique<TFormMain>(std::move(settings));
  form->MessageBoxHook = [this](const std::wstring &text, const std::wstring &title, UINT flags) {
    boxes.push_back({text, title, flags});
    return boxAnswer;
  };
  form->Show();
  if (pump)
    Pump();
  return *form;
}

void FormTest::Pump() { ProcessMessages(); }

void FormTest::ClickAt(TPanel &panel, POINT p) {
  const LPARAM at = MAKELPARAM(p.x, p.y);
  SendMessageW(panel.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(panel.Handle(), WM_LBUTTONUP, 0, at);
}

void FormTest::MouseMove(TPanel &panel, POINT p) {
  SendMessageW(panel.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
}

void FormTest::MouseLeave(TPanel &panel) { SendMessageW(panel.Handle(), WM_MOUSELEAVE, 0, 0); }

POINT FormTest::CentreOf(const TGraphicControl &control) {
  const RECT &r = control.Bounds();
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void FormTest::Press(const TWinControl &control) { SendMessageW(control.Handle(), BM_CLICK, 0, 0); }

} // namespace velmora::test
