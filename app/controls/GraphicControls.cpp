#include "app/controls/GraphicControls.h"

#include "base/Handles.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace velmora {

namespace {
void Fire(const std::function<void()> &handler) {
  if (handler)
    handler();
}
} // namespace

TGraphicControl::TGraphicControl(std::wstring name, TGraphicHost &host, RECT bounds)
    : TComponent(std::move(name)), host_(host), design_(bounds),
      bounds_(Scaled(bounds, host.Dpi())) {
  host.Add(this);
}

void TGraphicControl::SetBounds(const RECT &bounds) {
  Invalidate();
  design_ = bounds;
  bounds_ = Scaled(design_, host_.Dpi());
  Invalidate();
}

void TGraphicControl::Rescale() { bounds_ = Scaled(design_, host_.Dpi()); }

void TGraphicControl::SetVisible(bool visible) {
  if (visible_ == visible)
    return;
  visible_ = visible;
  Invalidate();
}

void TGraphicControl::Invalidate() const {
  if (host_.Window())
    InvalidateRect(host_.Window(), &bounds_, FALSE);
}

TLabel::TLabel(std::wstring name, TGraphicHost &host, RECT bounds, std::wstring caption)
    : TGraphicControl(std::move(name), host, bounds), caption_(std::move(caption)) {}

void TLabel::SetCaption(const std::wstring &text) {
  caption_ = text;
  Invalidate();
}

void TLabel::SetColor(COLORREF color) {
  color_ = color;
  Invalidate();
}

void TLabel::SetBold(bool bold) {
  bold_ = bold;
  Invalidate();
}

void TLabel::SetAlign(TAlign align) {
  align_ = align;
  Invalidate();
}

void TLabel::SetWordWrap(bool wrap) {
  wordWrap_ = wrap;
  Invalidate();
}

void TLabel::SetBackground(COLORREF color) {
  opaque_ = true;
  background_ = color;
  Invalidate();
}

void TLabel::Paint(HDC dc) const {
  RECT r = Bounds();
  if (opaque_) {
    const UniqueBrush brush(CreateSolidBrush(background_));
    FillRect(dc, &r, brush.Get());
  }
  const TSelectObject font(dc, bold_ ? FormBoldFont(host_.Dpi()) : FormFont(host_.Dpi()));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color_);
  UINT format = DT_NOPREFIX | (align_ == TAlign::Center ? DT_CENTER : DT_LEFT);
  format |= wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE;
  DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, format);
}

TImage::TImage(std::wstring name, TGraphicHost &host, RECT bounds)
    : TGraphicControl(std::move(name), host, bounds) {}

void TImage::SetPicture(const TPicture &picture) {
  picture_ = picture;
  Invalidate();
}

void TImage::Paint(HDC dc) const { picture_.Draw(dc, Bounds()); }

bool TGraphicHost::HandleMessage(UINT message, WPARAM, LPARAM lParam, LRESULT &result) {
  switch (message) {
  case WM_ERASEBKGND:
    result = 1; // painted in WM_PAINT, double-buffered
    return true;
  case WM_PAINT:
    Paint();
    result = 0;
    return true;
  case WM_MOUSEMOVE:
    MouseMoved({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    result = 0;
    return true;
  case WM_MOUSELEAVE:
    tracking_ = false;
    MouseLeft();
    result = 0;
    return true;
  case WM_LBUTTONDOWN: {
    pressed_ = ControlAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (pressed_)
      Fire(pressed_->OnMouseDown);
    result = 0;
    return true;
  }
  case WM_LBUTTONUP: {
    TGraphicControl *control = ControlAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    TGraphicControl *pressed = std::exchange(pressed_, nullptr);
    if (control) {
      Fire(control->OnMouseUp);
      if (control == pressed)
        Fire(control->OnClick);
    }
    result = 0;
    return true;
  }
  default:
    return false;
  }
}

void TGraphicHost::Attach(HWND window) {
  window_ = window;
  SetDpi(WindowDpi(window));
}

void TGraphicHost::SetDpi(int dpi) {
  dpi_ = dpi;
  for (TGraphicControl *control : controls_)
    control->Rescale();
  if (window_)
    InvalidateRect(window_, nullptr, FALSE);
}

TGraphicControl *TGraphicHost::ControlAt(POINT p) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
    if ((*it)->Visible() && PtInRect(&(*it)->Bounds(), p))
      return *it;
  return nullptr;
}

void TGraphicHost::Forget(TGraphicControl *control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  if (hot_ == control)
    hot_ = nullptr;
  if (pressed_ == control)
    pressed_ = nullptr;
}

void TGraphicHost::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  RECT client;
  GetClientRect(window_, &client);
  const int w = client.right, h = client.bottom;
  {
    // The bitmap is declared before the context: deselected, then deleted.
    const UniqueBitmap buffer(CreateCompatibleBitmap(dc, std::max(w, 1), std::max(h, 1)));
    const UniqueMemoryDc memory(CreateCompatibleDC(dc));
    const TSelectObject select(memory.Get(), buffer.Get());
    {
      const UniqueBrush brush(CreateSolidBrush(background_));
      FillRect(memory.Get(), &client, brush.Get());
    }
    for (TGraphicControl *control : controls_) {
      RECT dummy;
      if (control->Visible() && IntersectRect(&dummy, &control->Bounds(), &ps.rcPaint))
        control->Paint(memory.Get());
    }
    BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
           ps.rcPaint.bottom - ps.rcPaint.top, memory.Get(), ps.rcPaint.left, ps.rcPaint.top,
           SRCCOPY);
  }
  EndPaint(window_, &ps);
}

void TGraphicHost::MouseMoved(POINT p) {
  if (!tracking_) {
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, window_, 0};
    tracking_ = TrackMouseEvent(&tme) != FALSE;
  }
  TGraphicControl *control = ControlAt(p);
  if (control != hot_) {
    TGraphicControl *old = std::exchange(hot_, control);
    if (old)
      Fire(old->OnMouseLeave);
    if (control)
      Fire(control->OnMouseEnter);
  }
  if (control)
    Fire(control->OnMouseMove);
}

void TGraphicHost::MouseLeft() {
  if (TGraphicControl *old = std::exchange(hot_, nullptr))
    Fire(old->OnMouseLeave);
}

} // namespace velmora
