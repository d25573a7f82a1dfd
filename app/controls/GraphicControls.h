#pragma once
// Controls without a window of their own: labels and images painted by the
// window that holds them, so that they can be transparent over a picture.
// The holder (TGraphicHost) paints them in order and routes the mouse to
// the topmost one under it.
#include "app/controls/Dpi.h"
#include "app/controls/Pictures.h"
#include "app/controls/Window.h"
#include "base/Screen.h"

#include <functional>
#include <vector>

namespace velmora {

class TGraphicHost;

// Bounds are given in the 96-DPI layout; Bounds() is where the control is
// on the screen, at the host's DPI.
class TGraphicControl : public TComponent {
public:
  TGraphicControl(std::wstring name, TGraphicHost &host, RECT bounds);

  const RECT &Bounds() const { return bounds_; }
  const RECT &DesignBounds() const { return design_; }
  void SetBounds(const RECT &bounds);
  // Places the control again after its host changed DPI.
  void Rescale();
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Invalidate() const;

  virtual void Paint(HDC dc) const = 0;

  // Mouse events; an empty handler does nothing.
  std::function<void()> OnClick, OnMouseEnter, OnMouseLeave, OnMouseDown, OnMouseUp, OnMouseMove;

protected:
  TGraphicHost &host_;

private:
  RECT design_;
  RECT bounds_;
  bool visible_ = true;
};

enum class TAlign { Left, Center };

class TLabel : public TGraphicControl, public ITextLabel {
public:
  TLabel(std::wstring name, TGraphicHost &host, RECT bounds, std::wstring caption);

  // ITextLabel
  void SetCaption(const std::wstring &text) override;
  std::wstring Caption() const override { return caption_; }
  void SetVisible(bool visible) override { TGraphicControl::SetVisible(visible); }

  // TTranslatable: the caption
  TTextRule Rule() const override { return TTextRule::Caption; }
  std::wstring Text(int) const override { return caption_; }
  void SetText(int, const std::wstring &text) override { SetCaption(text); }

  void SetColor(COLORREF color);
  void SetBold(bool bold);
  void SetAlign(TAlign align);
  void SetWordWrap(bool wrap);
  // Opaque labels fill their rectangle with this colour first.
  void SetBackground(COLORREF color);

  void Paint(HDC dc) const override;

private:
  std::wstring caption_;
  COLORREF color_ = RGB(0, 0, 0);
  bool bold_ = false;
  TAlign align_ = TAlign::Left;
  bool wordWrap_ = false;
  bool opaque_ = false;
  COLORREF background_ = RGB(255, 255, 255);
};

class TImage : public TGraphicControl {
public:
  TImage(std::wstring name, TGraphicHost &host, RECT bounds);
  const TPicture &Picture() const { return picture_; }
  void SetPicture(const TPicture &picture);
  void Paint(HDC dc) const override;

private:
  TPicture picture_;
};

// Paints and routes the mouse for the graphic controls of one window.
class TGraphicHost {
public:
  explicit TGraphicHost(COLORREF background) : background_(background) {}
  // The window painted on; the controls take its DPI.
  void Attach(HWND window);
  HWND Window() const { return window_; }
  void Add(TGraphicControl *control) { controls_.push_back(control); }
  void SetBackground(COLORREF color) { background_ = color; }
  int Dpi() const { return dpi_; }
  // Lays the controls out at a new DPI.
  void SetDpi(int dpi);

  // Handles painting and mouse messages; false for every other message.
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result);
  // The topmost visible control at a point of the window; null when none.
  TGraphicControl *ControlAt(POINT p) const;
  void Forget(TGraphicControl *control);

private:
  void Paint();
  void MouseMoved(POINT p);
  void MouseLeft();

  HWND window_ = nullptr;
  COLORREF background_;
  int dpi_ = kDesignDpi;
  std::vector<TGraphicControl *> controls_;
  TGraphicControl *hot_ = nullptr;
  TGraphicControl *pressed_ = nullptr;
  bool tracking_ = false;
};

} // namespace velmora
