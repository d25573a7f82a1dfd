#pragma once
// Thin wrappers of the standard controls the window uses. A wrapper creates
// its control but does not own it: the parent window destroys it. Panels
// route the notifications of their children to the wrappers.
#include "app/controls/Dpi.h"
#include "app/controls/GraphicControls.h"
#include "app/controls/Window.h"
#include "base/Handles.h"
#include "base/Screen.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace velmora {

// Bounds are given in the 96-DPI layout and placed at the parent's DPI.
class TWinControl : public TComponent, public TScalable {
public:
  TWinControl(std::wstring name, HWND parent, const wchar_t *className, const std::wstring &text,
              DWORD style, DWORD exStyle, RECT bounds);
  ~TWinControl() override;
  TWinControl(const TWinControl &) = delete;
  TWinControl &operator=(const TWinControl &) = delete;

  HWND Handle() const { return hwnd_; }
  bool Visible() const;
  void SetVisible(bool visible);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  void SetFocus();
  void SetBounds(const RECT &bounds);
  const RECT &DesignBounds() const { return design_; }
  int Dpi() const { return dpi_; }
  // Places the control and sets its font for a new DPI.
  void SetDpi(int dpi) override;

  // Notifications from the parent: WM_COMMAND codes and WM_NOTIFY records.
  virtual void Command(WORD) {}
  virtual LRESULT Notify(NMHDR *) { return 0; }

  // The wrapper of a control window; null for windows that have none.
  static TWinControl *FromHandle(HWND hwnd);

protected:
  HWND hwnd_;

private:
  RECT design_;
  int dpi_;
};

// Routes WM_COMMAND and WM_NOTIFY of child controls to their wrappers.
bool RouteControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result);

// A plain container with a background colour, graphic controls of its own
// and windowed children.
class TPanel : public TWindow, public TComponent, public TScalable {
public:
  TPanel(std::wstring name, HWND parent, RECT bounds, COLORREF color);
  int Dpi() const { return dpi_; }
  void SetDpi(int dpi) override;
  TGraphicHost &Graphics() { return graphics_; }
  COLORREF Color() const { return color_; }
  bool Visible() const { return IsWindowVisible(Handle()) != FALSE; }
  void SetVisible(bool visible);
  void SetFocus() { ::SetFocus(Handle()); }

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  COLORREF color_;
  UniqueBrush brush_;
  TGraphicHost graphics_;
  RECT design_;
  int dpi_;
};

class TButton : public TWinControl {
public:
  TButton(std::wstring name, HWND parent, RECT bounds, const std::wstring &caption,
          DWORD buttonStyle = BS_PUSHBUTTON);
  TTextRule Rule() const override { return TTextRule::Caption; }
  std::wstring Text(int) const override { return Caption(); }
  void SetText(int, const std::wstring &text) override { SetCaption(text); }
  std::wstring Caption() const { return WindowText(hwnd_); }
  void SetCaption(const std::wstring &text) { SetWindowTextOf(hwnd_, text); }
  void Command(WORD code) override;

  std::function<void()> OnClick;
};

class TCheckBox : public TButton {
public:
  TCheckBox(std::wstring name, HWND parent, RECT bounds, const std::wstring &caption);
  bool Checked() const;
  // A change of state runs OnClick, as a click would.
  void SetChecked(bool checked);
};

// A read-only multi-line text box, also the engines' report pane.
class TMemo : public TWinControl, public IReportPane {
public:
  TMemo(std::wstring name, HWND parent, RECT bounds);
  void Clear() override;
  void AppendLines(const std::vector<std::wstring> &lines) override;
  std::vector<std::wstring> Lines() const override;
  void CaretToStart() override;
  void ScrollToEnd() override;
  int LineCount() const { return static_cast<int>(Lines().size()); }
};

class TProgressBar : public TWinControl, public IProgressBar {
public:
  TProgressBar(std::wstring name, HWND parent, RECT bounds);
  void SetRange(int minimum, int maximum) override;
  void SetStep(int step) override;
  void SetPosition(int position) override;
  int Position() const override;
  void StepIt() override;
};

// A report-style list of one column whose items stay sorted by caption
// with lstrcmpW.
class TListView : public TWinControl {
public:
  TListView(std::wstring name, HWND parent, RECT bounds, const std::wstring &column,
            int columnWidth);
  TTextRule Rule() const override { return TTextRule::Columns; }
  std::wstring Text(int index) const override;
  void SetText(int index, const std::wstring &text) override;
  LRESULT Notify(NMHDR *hdr) override;

  int Count() const;
  std::wstring ItemText(int index) const;
  std::vector<std::wstring> Items() const;
  int AddSorted(const std::wstring &text);
  void Delete(int index);
  void Clear();
  int Selected() const; // -1 when none
  void Select(int index);
  void SetDpi(int dpi) override;

  std::function<void()> OnClick, OnDblClick, OnColumnClick;

private:
  int columnWidth_; // at 96 DPI
};

class TPageControl;

// A tab page: a panel whose caption is its tab's text.
class TTabSheet : public TPanel {
public:
  TTabSheet(std::wstring name, TPageControl &pages, const std::wstring &caption);
  TTextRule Rule() const override { return TTextRule::Caption; }
  std::wstring Text(int) const override { return caption_; }
  void SetText(int, const std::wstring &text) override;
  // Follows the display area of its page control.
  void SetDpi(int dpi) override;

private:
  TPageControl &pages_;
  std::wstring caption_;
  int index_;
};

class TPageControl : public TWinControl {
public:
  TPageControl(std::wstring name, HWND parent, RECT bounds);
  // Adds a tab; returns its index. The sheet lies over the display area.
  int AddTab(const std::wstring &caption);
  void SetTabCaption(int index, const std::wstring &caption);
  RECT PageBounds() const; // in the parent's coordinates
  void Attach(TTabSheet *sheet) { sheets_.push_back(sheet); }
  int ActivePage() const;
  void SetActivePage(int index);
  LRESULT Notify(NMHDR *hdr) override;
  void SetDpi(int dpi) override;
  // Lays the sheets over the display area.
  void PlaceSheets();

private:
  std::vector<TTabSheet *> sheets_;
};

// A vertical bar that moves the border between two neighbours.
class TSplitter : public TWindow, public TComponent, public TScalable {
public:
  TSplitter(std::wstring name, HWND parent, RECT bounds, COLORREF color);
  void SetBounds(const RECT &bounds);
  const RECT &DesignBounds() const { return design_; }
  void SetDpi(int dpi) override;
  // Called with the new left edge of the bar while it is dragged. The edge
  // and its limits are in the 96-DPI layout, as bounds are.
  std::function<void(int)> OnMoved;
  int MinLeft = 0, MaxLeft = 0;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  COLORREF color_;
  int grab_ = 0;
  RECT design_;
  int dpi_;
};

} // namespace velmora
