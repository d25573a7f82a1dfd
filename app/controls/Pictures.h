#pragma once
// Pictures decoded through the platform's image support (WIC): PNG and
// JPEG resources become 32-bit premultiplied bitmaps drawn with alpha.
#include "base/Handles.h"

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>

namespace velmora {

// An immutable picture; copies share the bitmap. Empty when nothing is loaded.
class TPicture {
public:
  TPicture() = default;
  // Decodes an RCDATA resource of the running program; empty when it is
  // missing or cannot be decoded.
  static TPicture FromResource(const wchar_t *name);
  // Decodes encoded bytes (PNG, JPEG, ...); empty when they cannot be decoded.
  static TPicture FromBytes(const void *data, size_t size);

  bool Empty() const { return !bitmap_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  HBITMAP Bitmap() const { return bitmap_ ? bitmap_->Handle.Get() : nullptr; }
  // The colour of one pixel (premultiplied BGRA), for tests; 0 outside.
  unsigned PixelAt(int x, int y) const;
  bool SameAs(const TPicture &other) const { return bitmap_ == other.bitmap_; }

  // Draws the picture into the rectangle, blending its alpha. A rectangle
  // of another size gets a copy resampled with a cubic filter (kept for the
  // next drawing at that size), so pictures stay crisp at every scale.
  void Draw(HDC dc, const RECT &target) const;
  // A copy resampled to the size; this picture itself when the size is its own.
  TPicture Resized(int width, int height) const;

private:
  struct TBits {
    UniqueBitmap Handle;
    unsigned *Pixels = nullptr;
    std::shared_ptr<TBits> Resized; // the last size drawn, when not the picture's own
    int ResizedWidth = 0, ResizedHeight = 0;
  };
  std::shared_ptr<TBits> bitmap_;
  int width_ = 0, height_ = 0;
};

struct ImageListTraits {
  using Type = HIMAGELIST;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::ImageList_Destroy(h); }
};
using UniqueImageList = UniqueHandle<ImageListTraits>;

// A top-down 32-bit bitmap whose pixels the caller fills or draws on.
UniqueBitmap CreateArgbBitmap(int width, int height, void **pixels);

// An image list of 16 x 16, 32-bit icons made from numbered resources
// prefix00, prefix01, ... (count of them).
UniqueImageList LoadImageList(const std::wstring &prefix, int count, int size);

} // namespace velmora
