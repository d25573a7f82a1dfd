#include "app/controls/Controls.h"

#include "base/Error.h"
#include "base/Handles.h"

#include <windowsx.h>

#include <unordered_map>

namespace velmora {

namespace {

// Wrapper of each live control window, for routing notifications.
std::unordered_map<HWND, TWinControl *> &Registry() {
  static std::unordered_map<HWND, TWinControl *> registry;
  return registry;
}

const wchar_t kPanelClass[] = L"TVelmoraPanel";
const wchar_t kSplitterClass[] = L"TVelmoraSplitter";

void Place(HWND hwnd, const RECT &r) {
  MoveWindow(hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

} // namespace

TWinControl::TWinControl(std::wstring name, HWND parent, const wchar_t *className,
                         const std::wstring &text, DWORD style, DWORD exStyle, RECT bounds)
    : TComponent(std::move(name)), design_(bounds), dpi_(WindowDpi(parent)) {
  const RECT r = Scaled(bounds, dpi_);
  hwnd_ = CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | style, r.left, r.top,
                          r.right - r.left, r.bottom - r.top, parent, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_)
    throw EAppError(L"Cannot create the control " + Name());
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont(dpi_)), FALSE);
  Registry()[hwnd_] = this;
}

TWinControl::~TWinControl() { Registry().erase(hwnd_); }

TWinControl *TWinControl::FromHandle(HWND hwnd) {
  auto it = Registry().find(hwnd);
  return it == Registry().end() ? nullptr : it->second;
}

bool TWinControl::Visible() const { return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }

void TWinControl::SetVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }

bool TWinControl::Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }

void TWinControl::SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled ? TRUE : FALSE); }

void TWinControl::SetFocus() { ::SetFocus(hwnd_); }

void TWinControl::SetBounds(const RECT &bounds) {
  design_ = bounds;
  Place(hwnd_, Scaled(design_, dpi_));
}

void TWinControl::SetDpi(int dpi) {
  dpi_ = dpi;
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont(dpi_)), FALSE);
  Place(hwnd_, Scaled(design_, dpi_));
}

bool RouteControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) {
  if (message == WM_COMMAND && lParam) {
    if (TWinControl *control = TWinControl::FromHandle(reinterpret_cast<HWND>(lParam))) {
      control->Command(HIWORD(wParam));
      result = 0;
      return true;
    }
  } else if (message == WM_NOTIFY) {
    NMHDR *hdr = reinterpret_cast<NMHDR *>(lParam);
    if (TWinControl *control = TWinControl::FromHandle(hdr->hwndFrom)) {
      result = control->Notify(hdr);
      return true;
    }
  }
  return false;
}

// --- TPanel -----------------------------------------------------------------

TPanel::TPanel(std::wstring name, HWND parent, RECT bounds, COLORREF color)
    : TComponent(std::move(name)), color_(color), brush_(CreateSolidBrush(color)), graphics_(color),
      design_(bounds), dpi_(WindowDpi(parent)) {
  RegisterClassOnce(kPanelClass);
  const RECT r = Scaled(bounds, dpi_);
  CreateHandle(WS_EX_CONTROLPARENT, kPanelClass, Name(),
               WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, r.left, r.top,
               r.right - r.left, r.bottom - r.top, parent);
  graphics_.Attach(Handle());
  graphics_.SetDpi(dpi_);
}

void TPanel::SetDpi(int dpi) {
  dpi_ = dpi;
  graphics_.SetDpi(dpi);
  Place(Handle(), Scaled(design_, dpi_));
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TPanel::SetVisible(bool visible) { ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE); }

LRESULT TPanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (RouteControlMessage(message, wParam, lParam, result))
    return result;
  if (graphics_.HandleMessage(message, wParam, lParam, result))
    return result;
  switch (message) {
  case WM_CTLCOLORSTATIC: {
    HDC dc = reinterpret_cast<HDC>(wParam);
    wchar_t cls[16] = L"";
    GetClassNameW(reinterpret_cast<HWND>(lParam), cls, 16);
    if (lstrcmpiW(cls, L"Edit") == 0) { // read-only text boxes stay white
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    SetBkColor(dc, color_);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(brush_.Get());
  }
  case WM_CTLCOLORBTN:
    return reinterpret_cast<LRESULT>(brush_.Get());
  case WM_LBUTTONDOWN:
    ::SetFocus(Handle()); // a click on the bar takes the focus, as a panel does
    graphics_.HandleMessage(message, wParam, lParam, result);
    return 0;
  case WM_NCDESTROY:
    brush_.Reset(); // no child asks for it any more
    break;
  }
  return DefaultProc(message, wParam, lParam);
}

// --- buttons ----------------------------------------------------------------

TButton::TButton(std::wstring name, HWND parent, RECT bounds, const std::wstring &caption,
                 DWORD buttonStyle)
    : TWinControl(std::move(name), parent, WC_BUTTONW, caption,
                  WS_VISIBLE | WS_TABSTOP | buttonStyle, 0, bounds) {}

void TButton::Command(WORD code) {
  if (code == BN_CLICKED && OnClick)
    OnClick();
}

TCheckBox::TCheckBox(std::wstring name, HWND parent, RECT bounds, const std::wstring &caption)
    : TButton(std::move(name), parent, bounds, caption, BS_AUTOCHECKBOX) {}

bool TCheckBox::Checked() const { return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TCheckBox::SetChecked(bool checked) {
  if (checked == Checked())
    return;
  SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (OnClick)
    OnClick();
}

// --- TMemo ------------------------------------------------------------------

TMemo::TMemo(std::wstring name, HWND parent, RECT bounds)
    : TWinControl(std::move(name), parent, WC_EDITW, L"",
                  WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                      ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL,
                  WS_EX_CLIENTEDGE, bounds) {
  SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0); // reports can be long
}

void TMemo::Clear() { SetWindowTextOf(hwnd_, L""); }

void TMemo::AppendLines(const std::vector<std::wstring> &lines) {
  if (lines.empty())
    return;
  std::wstring text = WindowText(hwnd_);
  size_t size = text.size();
  for (const std::wstring &line : lines)
    size += line.size() + 2;
  text.reserve(size);
  for (const std::wstring &line : lines) {
    if (!text.empty())
      text += L"\r\n";
    text += line;
  }
  // One update for the whole report, never line by line.
  SetWindowTextOf(hwnd_, text);
}

std::vector<std::wstring> TMemo::Lines() const {
  std::vector<std::wstring> lines;
  const std::wstring text = WindowText(hwnd_);
  if (text.empty())
    return lines;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(L"\r\n", start);
    if (end == std::wstring::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

void TMemo::CaretToStart() {
  SendMessageW(hwnd_, EM_SETSEL, 0, 0);
  SendMessageW(hwnd_, EM_SCROLLCARET, 0, 0);
}

void TMemo::ScrollToEnd() { SendMessageW(hwnd_, WM_VSCROLL, SB_BOTTOM, 0); }

// --- TProgressBar -----------------------------------------------------------

TProgressBar::TProgressBar(std::wstring name, HWND parent, RECT bounds)
    : TWinControl(std::move(name), parent, PROGRESS_CLASSW, L"", PBS_SMOOTH, 0, bounds) {
  SetRange(0, 100);
}

void TProgressBar::SetRange(int minimum, int maximum) {
  SendMessageW(hwnd_, PBM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
}

void TProgressBar::SetStep(int step) {
  SendMessageW(hwnd_, PBM_SETSTEP, static_cast<WPARAM>(step), 0);
}

void TProgressBar::SetPosition(int position) {
  SendMessageW(hwnd_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

int TProgressBar::Position() const {
  return static_cast<int>(SendMessageW(hwnd_, PBM_GETPOS, 0, 0));
}

void TProgressBar::StepIt() { SendMessageW(hwnd_, PBM_STEPIT, 0, 0); }

// --- TListView --------------------------------------------------------------

TListView::TListView(std::wstring name, HWND parent, RECT bounds, const std::wstring &column,
                     int columnWidth)
    : TWinControl(std::move(name), parent, WC_LISTVIEWW, L"",
                  WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                  WS_EX_CLIENTEDGE, bounds),
      columnWidth_(columnWidth) {
  ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  LVCOLUMNW col = {};
  col.mask = LVCF_TEXT | LVCF_WIDTH;
  col.cx = Scaled(columnWidth, Dpi());
  col.pszText = const_cast<wchar_t *>(column.c_str());
  ListView_InsertColumn(hwnd_, 0, &col);
}

std::wstring TListView::Text(int index) const {
  wchar_t buffer[512] = L"";
  LVCOLUMNW col = {};
  col.mask = LVCF_TEXT;
  col.pszText = buffer;
  col.cchTextMax = 512;
  ListView_GetColumn(hwnd_, index, &col);
  return buffer;
}

void TListView::SetText(int index, const std::wstring &text) {
  LVCOLUMNW col = {};
  col.mask = LVCF_TEXT;
  col.pszText = const_cast<wchar_t *>(text.c_str());
  ListView_SetColumn(hwnd_, index, &col);
}

LRESULT TListView::Notify(NMHDR *hdr) {
  const std::function<void()> *handler = nullptr;
  if (hdr->code == NM_CLICK)
    handler = &OnClick;
  else if (hdr->code == NM_DBLCLK)
    handler = &OnDblClick;
  else if (hdr->code == LVN_COLUMNCLICK)
    handler = &OnColumnClick;
  if (handler && *handler)
    (*handler)();
  return 0;
}

void TListView::SetDpi(int dpi) {
  TWinControl::SetDpi(dpi);
  ListView_SetColumnWidth(hwnd_, 0, Scaled(columnWidth_, dpi));
}

int TListView::Count() const { return ListView_GetItemCount(hwnd_); }

std::wstring TListView::ItemText(int index) const {
  std::wstring buffer(300, L'\0');
  for (;;) {
    LVITEMW item = {};
    item.iSubItem = 0;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const LRESULT got = SendMessageW(hwnd_, LVM_GETITEMTEXTW, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(&item));
    if (got < static_cast<LRESULT>(buffer.size()) - 1) {
      buffer.resize(static_cast<size_t>(got));
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::vector<std::wstring> TListView::Items() const {
  std::vector<std::wstring> items;
  for (int i = 0, n = Count(); i < n; ++i)
    items.push_back(ItemText(i));
  return items;
}

int TListView::AddSorted(const std::wstring &text) {
  // Binary search for the first item that sorts after the text.
  int low = 0, high = Count();
  while (low < high) {
    const int middle = (low + high) / 2;
    if (lstrcmpW(ItemText(middle).c_str(), text.c_str()) <= 0)
      low = middle + 1;
    else
      high = middle;
  }
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = low;
  item.pszText = const_cast<wchar_t *>(text.c_str());
  return ListView_InsertItem(hwnd_, &item);
}

void TListView::Delete(int index) { ListView_DeleteItem(hwnd_, index); }

void TListView::Clear() { ListView_DeleteAllItems(hwnd_); }

int TListView::Selected() const { return ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED); }

void TListView::Select(int index) {
  ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (index >= 0)
    ListView_SetItemState(hwnd_, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

// --- pages ------------------------------------------------------------------

TPageControl::TPageControl(std::wstring name, HWND parent, RECT bounds)
    : TWinControl(std::move(name), parent, WC_TABCONTROLW, L"",
                  WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0, bounds) {}

int TPageControl::AddTab(const std::wstring &caption) {
  TCITEMW item = {};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t *>(caption.c_str());
  return TabCtrl_InsertItem(hwnd_, TabCtrl_GetItemCount(hwnd_), &item);
}

void TPageControl::SetTabCaption(int index, const std::wstring &caption) {
  TCITEMW item = {};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t *>(caption.c_str());
  TabCtrl_SetItem(hwnd_, index, &item);
  // A longer caption can change the tab row; keep the sheets over the page.
  PlaceSheets();
}

void TPageControl::PlaceSheets() {
  const RECT page = PageBounds();
  for (TTabSheet *sheet : sheets_)
    Place(sheet->Handle(), page);
}

void TPageControl::SetDpi(int dpi) {
  TWinControl::SetDpi(dpi); // the new font sets the height of the tab row
  PlaceSheets();
}

RECT TPageControl::PageBounds() const {
  RECT r;
  GetClientRect(hwnd_, &r);
  TabCtrl_AdjustRect(hwnd_, FALSE, &r);
  MapWindowPoints(hwnd_, GetParent(hwnd_), reinterpret_cast<POINT *>(&r), 2);
  return r;
}

int TPageControl::ActivePage() const { return TabCtrl_GetCurSel(hwnd_); }

void TPageControl::SetActivePage(int index) {
  TabCtrl_SetCurSel(hwnd_, index);
  for (size_t i = 0; i < sheets_.size(); ++i)
    sheets_[i]->SetVisible(static_cast<int>(i) == index);
}

LRESULT TPageControl::Notify(NMHDR *hdr) {
  if (hdr->code == TCN_SELCHANGE)
    SetActivePage(TabCtrl_GetCurSel(hwnd_));
  return 0;
}

TTabSheet::TTabSheet(std::wstring name, TPageControl &pages, const std::wstring &caption)
    : TPanel(std::move(name), GetParent(pages.Handle()), RECT{0, 0, 1, 1},
             GetSysColor(COLOR_WINDOW)),
      pages_(pages), caption_(caption), index_(pages.AddTab(caption)) {
  pages.Attach(this);
  const RECT page = pages.PageBounds();
  SetWindowPos(Handle(), HWND_TOP, page.left, page.top, page.right - page.left,
               page.bottom - page.top, SWP_NOACTIVATE);
}

void TTabSheet::SetDpi(int dpi) {
  TPanel::SetDpi(dpi);
  Place(Handle(), pages_.PageBounds());
}

void TTabSheet::SetText(int, const std::wstring &text) {
  caption_ = text;
  pages_.SetTabCaption(index_, text);
}

// --- TSplitter --------------------------------------------------------------

TSplitter::TSplitter(std::wstring name, HWND parent, RECT bounds, COLORREF color)
    : TComponent(std::move(name)), color_(color), design_(bounds), dpi_(WindowDpi(parent)) {
  RegisterClassOnce(kSplitterClass);
  const RECT r = Scaled(bounds, dpi_);
  CreateHandle(0, kSplitterClass, Name(), WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left,
               r.bottom - r.top, parent);
}

void TSplitter::SetBounds(const RECT &bounds) {
  design_ = bounds;
  Place(Handle(), Scaled(design_, dpi_));
}

void TSplitter::SetDpi(int dpi) {
  dpi_ = dpi;
  Place(Handle(), Scaled(design_, dpi_));
}

LRESULT TSplitter::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_SETCURSOR:
    SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
    return TRUE;
  case WM_ERASEBKGND: {
    RECT r;
    GetClientRect(Handle(), &r);
    const UniqueBrush brush(CreateSolidBrush(color_));
    FillRect(reinterpret_cast<HDC>(wParam), &r, brush.Get());
    return 1;
  }
  case WM_LBUTTONDOWN:
    grab_ = GET_X_LPARAM(lParam);
    SetCapture(Handle());
    return 0;
  case WM_MOUSEMOVE:
    if (GetCapture() == Handle()) {
      POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      MapWindowPoints(Handle(), GetParent(Handle()), &p, 1);
      // The mouse moves in pixels; the owner lays out at 96 DPI.
      int left = Unscaled(p.x - grab_, dpi_);
      left = left < MinLeft ? MinLeft : (left > MaxLeft ? MaxLeft : left);
      if (OnMoved)
        OnMoved(left);
    }
    return 0;
  case WM_LBUTTONUP:
    if (GetCapture() == Handle())
      ReleaseCapture();
    return 0;
  }
  return DefaultProc(message, wParam, lParam);
}

} // namespace velmora
