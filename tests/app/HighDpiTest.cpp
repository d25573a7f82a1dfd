// The window at the screen's scale: every control, font and picture of the
// 96-DPI layout placed at the DPI the window is shown at, nothing clipped
// by its parent or lying over a sibling, and a move to a screen of another
// scale (WM_DPICHANGED) laying it all out again. ctest runs these at 96
// and at 144 DPI.
#include "AppTestSupport.h"
#include "app/PrivacyNodes.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <vector>

using namespace velmora;
using namespace velmora::test;

namespace {

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = L"";
  GetClassNameW(hwnd, name, 64);
  return name;
}

// A child's rectangle in its parent's client coordinates.
RECT PlaceOf(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT *>(&r), 2);
  return r;
}

std::wstring Describe(HWND hwnd) {
  const RECT r = PlaceOf(hwnd);
  return ClassOf(hwnd) + L" '" + WindowText(hwnd) + L"' " + std::to_wstring(r.left) + L"," +
         std::to_wstring(r.top) + L"-" + std::to_wstring(r.right) + L"," +
         std::to_wstring(r.bottom);
}

std::vector<HWND> ShownChildren(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (IsWindowVisible(child))
      children.push_back(child);
  return children;
}

// Tab sheets are made to lie over the display area of their tab control.
bool SheetOverTabs(HWND a, HWND b) {
  if (ClassOf(b) == WC_TABCONTROLW)
    std::swap(a, b);
  if (ClassOf(a) != WC_TABCONTROLW)
    return false;
  RECT page;
  GetClientRect(a, &page);
  TabCtrl_AdjustRect(a, FALSE, &page);
  MapWindowPoints(a, GetParent(a), reinterpret_cast<POINT *>(&page), 2);
  RECT sheet = PlaceOf(b), both;
  IntersectRect(&both, &sheet, &page);
  return EqualRect(&both, &sheet) != FALSE;
}

// Every shown window below parent lies inside its parent's client area and
// clear of its shown siblings.
void ExpectNothingClippedOrOverlapping(HWND parent) {
  RECT client;
  GetClientRect(parent, &client);
  const std::vector<HWND> children = ShownChildren(parent);
  for (size_t i = 0; i < children.size(); ++i) {
    const RECT r = PlaceOf(children[i]);
    RECT inside;
    IntersectRect(&inside, &r, &client);
    EXPECT_TRUE(EqualRect(&inside, &r))
        << "clipped by " << Describe(parent) << ": " << Describe(children[i]);
    for (size_t j = i + 1; j < children.size(); ++j) {
      const RECT other = PlaceOf(children[j]);
      RECT both;
      if (IntersectRect(&both, &r, &other) && !SheetOverTabs(children[i], children[j]))
        ADD_FAILURE() << "overlap: " << Describe(children[i]) << " and " << Describe(children[j]);
    }
    ExpectNothingClippedOrOverlapping(children[i]);
  }
}

int FontHeightOf(HWND hwnd) {
  LOGFONTW font = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof(font), &font);
  return font.lfHeight;
}

class HighDpiTest : public FormTest {
protected:
  std::vector<TWinControl *> Controls(TFormMain &f) {
    return {f.RzCheckTree1.get(),
            f.mmoPrivacy.get(),
            f.pbbarPri.get(),
            f.btnPrivaryAnalyze.get(),
            f.btnPrivacyCleaner.get(),
            f.mmoTemp.get(),
            f.pbbarTemp.get(),
            f.btnTempAnalyze.get(),
            f.btnTempCleaner.get(),
            f.PageControl1.get(),
            f.CheckBox1.get(),
            f.CheckBox2.get(),
            f.CheckBox3.get(),
            f.CheckBox4.get(),
            f.CheckBox5.get(),
            f.ListViewDelete.get(),
            f.ListViewKeep.get(),
            f.Button1.get(),
            f.Button2.get()};
  }
  std::vector<std::pair<TGraphicControl *, HWND>> Graphics(TFormMain &f) {
    std::vector<std::pair<TGraphicControl *, HWND>> all;
    for (TGraphicControl *c : {static_cast<TGraphicControl *>(f.img_topbeijin.get()),
                               static_cast<TGraphicControl *>(f.img_topzi.get()),
                               static_cast<TGraphicControl *>(f.Label4.get()),
                               static_cast<TGraphicControl *>(f.Label_top.get()),
                               static_cast<TGraphicControl *>(f.Image39.get())})
      all.push_back({c, f.Handle()});
    for (TGraphicControl *c : {static_cast<TGraphicControl *>(f.ImageNotePrivacy.get()),
                               static_cast<TGraphicControl *>(f.ImageNoteJunkFiles.get()),
                               static_cast<TGraphicControl *>(f.ImageNoteOption.get()),
                               static_cast<TGraphicControl *>(f.ImageNote1.get()),
                               static_cast<TGraphicControl *>(f.Image1.get()),
                               static_cast<TGraphicControl *>(f.Image2.get()),
                               static_cast<TGraphicControl *>(f.Image3.get()),
                               static_cast<TGraphicControl *>(f.Image4.get()),
                               static_cast<TGraphicControl *>(f.Label1.get()),
                               static_cast<TGraphicControl *>(f.Label2.get()),
                               static_cast<TGraphicControl *>(f.Label3.get()),
                               static_cast<TGraphicControl *>(f.Label5.get())})
      all.push_back({c, f.pnl1->Handle()});
    all.push_back({f.Label_firefox.get(), f.Panel1->Handle()});
    all.push_back({f.lblTotal.get(), f.Panel2->Handle()});
    all.push_back({f.lbltip.get(), f.Panel2->Handle()});
    return all;
  }

  // Everything of the window at the given DPI, in every view.
  void ExpectLaidOutAt(TFormMain &f, int dpi) {
    EXPECT_EQ(f.Dpi(), dpi);
    RECT client;
    GetClientRect(f.Handle(), &client);
    EXPECT_EQ(client.right, Scaled(kClientWidth, dpi));
    EXPECT_EQ(client.bottom, Scaled(kClientHeight, dpi));
    const int fontHeight = -MulDiv(8, dpi, 72);
    for (TWinControl *c : Controls(f)) {
      const RECT expected = Scaled(c->DesignBounds(), dpi), shown = PlaceOf(c->Handle());
      EXPECT_TRUE(EqualRect(&expected, &shown)) << c->Name() << ": " << Describe(c->Handle());
      EXPECT_EQ(FontHeightOf(c->Handle()), fontHeight) << c->Name();
    }
    const RECT splitter = Scaled(f.Splitter1->DesignBounds(), dpi),
               splitterShown = PlaceOf(f.Splitter1->Handle());
    EXPECT_TRUE(EqualRect(&splitter, &splitterShown));
    EXPECT_EQ(TreeView_GetItemHeight(f.RzCheckTree1->Handle()), Scaled(18, dpi));
    int imageSize = 0, unused = 0;
    ImageList_GetIconSize(TreeView_GetImageList(f.RzCheckTree1->Handle(), TVSIL_NORMAL), &imageSize,
                          &unused);
    EXPECT_EQ(imageSize, Scaled(16, dpi));
    ImageList_GetIconSize(TreeView_GetImageList(f.RzCheckTree1->Handle(), TVSIL_STATE), &imageSize,
                          &unused);
    EXPECT_EQ(imageSize, Scaled(16, dpi));
    EXPECT_EQ(ListView_GetColumnWidth(f.ListViewKeep->Handle(), 0), Scaled(225, dpi));

    for (auto &[control, host] : Graphics(f)) {
      const RECT expected = Scaled(control->DesignBounds(), dpi);
      EXPECT_TRUE(EqualRect(&expected, &control->Bounds())) << control->Name();
      RECT hostClient, inside;
      GetClientRect(host, &hostClient);
      IntersectRect(&inside, &control->Bounds(), &hostClient);
      EXPECT_TRUE(EqualRect(&inside, &control->Bounds())) << control->Name() << " clipped";
    }
    // Single-line captions fit their labels in the font of that DPI.
    HDC dc = GetDC(f.Handle());
    for (TLabel *label : {f.Label4.get(), f.Label_top.get(), f.Label1.get(), f.Label2.get(),
                          f.Label3.get(), f.Label5.get()}) {
      const std::wstring text = label->Caption();
      HGDIOBJ old = SelectObject(dc, FormFont(dpi));
      SIZE size = {};
      GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
      SelectObject(dc, old);
      const RECT &r = label->Bounds();
      EXPECT_LE(size.cx, r.right - r.left) << label->Name();
      EXPECT_LE(size.cy, r.bottom - r.top + 2) << label->Name(); // descenders may touch the edge
    }
    ReleaseDC(f.Handle(), dc);

    // Each view, and both option pages, with nothing clipped or overlapping.
    f.ImageNoteJunkFilesClick();
    ExpectNothingClippedOrOverlapping(f.Handle());
    f.ImageNoteOptionClick();
    ExpectNothingClippedOrOverlapping(f.Handle());
    f.PageControl1->SetActivePage(1);
    ExpectNothingClippedOrOverlapping(f.Handle());
    f.PageControl1->SetActivePage(0);
    f.ImageNotePrivacyClick();
    ExpectNothingClippedOrOverlapping(f.Handle());
  }

  // What the system sends when the window has moved to a screen of another
  // DPI: the new DPI and a window rectangle for it.
  void MoveToDpi(TFormMain &f, int dpi) {
    RECT frame = {0, 0, Scaled(kClientWidth, dpi), Scaled(kClientHeight, dpi)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(f.Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(f.Handle(), GWL_EXSTYLE)));
    OffsetRect(&frame, -frame.left, -frame.top);
    SendMessageW(f.Handle(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&frame));
  }
};

} // namespace

TEST_F(HighDpiTest, EveryControlFontAndPictureIsAtTheScreensScale) {
  TFormMain &f = Open();
  const int dpi = WindowDpi(f.Handle());
  RecordProperty("dpi", dpi);
  ExpectLaidOutAt(f, dpi);
}

TEST_F(HighDpiTest, MovingToAScreenOfAnotherScaleLaysEverythingOutAgain) {
  TFormMain &f = Open();
  const int dpi = WindowDpi(f.Handle());
  const int other = dpi == 96 ? 144 : 96;
  f.btnPrivaryAnalyze->SetCaption(L"Analyze"); // a state the move must keep
  MoveToDpi(f, other);
  Pump();
  ExpectLaidOutAt(f, other);
  EXPECT_EQ(f.btnPrivaryAnalyze->Caption(), L"Analyze");
  EXPECT_EQ(f.RzCheckTree1->Model().Count(), static_cast<int>(std::size(kPrivacyNodes)));

  // Back again: the same layout as at the start.
  MoveToDpi(f, dpi);
  Pump();
  ExpectLaidOutAt(f, dpi);
}

TEST_F(HighDpiTest, SplitterDragKeepsItsLimitsAtEveryScale) {
  TFormMain &f = Open();
  const int dpi = WindowDpi(f.Handle());
  for (const int shownAt : {dpi, dpi == 96 ? 144 : 96}) {
    MoveToDpi(f, shownAt);
    HWND bar = f.Splitter1->Handle();
    struct {
      int toX;          // where the bar's left edge is dragged to, in pixels
      int expectedLeft; // at 96 DPI
    } const cases[] = {{Scaled(300, shownAt), 300},
                       {Scaled(20, shownAt), f.Splitter1->MinLeft},
                       {Scaled(900, shownAt), f.Splitter1->MaxLeft}};
    for (const auto &c : cases) {
      SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 5));
      const RECT from = PlaceOf(bar);
      SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(c.toX - from.left, 5));
      SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(0, 5));
      EXPECT_EQ(f.Splitter1->DesignBounds().left, c.expectedLeft) << shownAt << " " << c.toX;
      const RECT tree = PlaceOf(f.RzCheckTree1->Handle()), split = PlaceOf(bar),
                 memo = PlaceOf(f.mmoPrivacy->Handle());
      EXPECT_EQ(tree.right, split.left);
      EXPECT_EQ(split.right, memo.left);
      EXPECT_EQ(memo.right, Scaled(710, shownAt));
    }
  }
}

// --- pictures at other sizes ---------------------------------------------------

namespace {

// A 32-bit BMP file of one colour, for the decoder.
std::vector<unsigned char> SolidBmp(int width, int height, unsigned bgra) {
  const size_t pixels = static_cast<size_t>(width) * height * 4;
  std::vector<unsigned char> file(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + pixels);
  auto *fh = reinterpret_cast<BITMAPFILEHEADER *>(file.data());
  fh->bfType = 0x4D42;
  fh->bfSize = static_cast<DWORD>(file.size());
  fh->bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  auto *ih = reinterpret_cast<BITMAPINFOHEADER *>(file.data() + sizeof(BITMAPFILEHEADER));
  ih->biSize = sizeof(BITMAPINFOHEADER);
  ih->biWidth = width;
  ih->biHeight = height;
  ih->biPlanes = 1;
  ih->biBitCount = 32;
  ih->biCompression = BI_RGB;
  auto *p = reinterpret_cast<unsigned *>(file.data() + fh->bfOffBits);
  std::fill(p, p + static_cast<size_t>(width) * height, bgra);
  return file;
}

bool Premultiplied(const TPicture &picture) {
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) {
      const unsigned p = picture.PixelAt(x, y), alpha = p >> 24;
      if ((p & 0xFF) > alpha || ((p >> 8) & 0xFF) > alpha || ((p >> 16) & 0xFF) > alpha)
        return false;
    }
  return true;
}

} // namespace

TEST_F(HighDpiTest, PicturesResampleToEveryScaleWithoutShiftingTheirColours) {
  const std::vector<unsigned char> bmp = SolidBmp(16, 16, 0xFF3366CC);
  const TPicture solid = TPicture::FromBytes(bmp.data(), bmp.size());
  ASSERT_FALSE(solid.Empty());
  const unsigned colour = solid.PixelAt(0, 0);
  const TPicture logo = TPicture::FromResource(L"LOGO");
  ASSERT_FALSE(logo.Empty());
  for (const int dpi : {96, 120, 144, 192, 72}) {
    const TPicture big = solid.Resized(Scaled(16, dpi), Scaled(16, dpi));
    ASSERT_EQ(big.Width(), Scaled(16, dpi));
    ASSERT_EQ(big.Height(), Scaled(16, dpi));
    // A plain colour stays that colour to the edges (no dark or light rim).
    for (const POINT p : {POINT{0, 0}, POINT{big.Width() - 1, big.Height() - 1},
                          POINT{big.Width() / 2, big.Height() / 2}})
      EXPECT_EQ(big.PixelAt(p.x, p.y), colour) << dpi << " at " << p.x << "," << p.y;

    const TPicture shownLogo = logo.Resized(Scaled(218, dpi), Scaled(41, dpi));
    EXPECT_TRUE(Premultiplied(shownLogo)) << dpi;
    // Transparent ground stays transparent; the opaque shield stays opaque.
    EXPECT_EQ(shownLogo.PixelAt(shownLogo.Width() - 1, 0) >> 24, 0u) << dpi;
    EXPECT_EQ(shownLogo.PixelAt(Scaled(20, dpi), Scaled(20, dpi)) >> 24, 0xFFu) << dpi;
  }
  // The own size is the picture itself; a size asked again is not made twice.
  EXPECT_TRUE(logo.Resized(218, 41).SameAs(logo));
  EXPECT_TRUE(logo.Resized(327, 62).SameAs(logo.Resized(327, 62)));
  EXPECT_TRUE(TPicture().Resized(10, 10).Empty());
  EXPECT_TRUE(logo.Resized(0, 5).SameAs(logo));
}
