#include "app/controls/Pictures.h"

#include "base/Com.h"
#include "base/Handles.h"

#include <commctrl.h>
#include <wincodec.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace velmora {

TPicture TPicture::FromResource(const wchar_t *name) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceW(module, name, RT_RCDATA);
  if (!info)
    return {};
  HGLOBAL loaded = LoadResource(module, info);
  const void *data = loaded ? LockResource(loaded) : nullptr;
  if (!data)
    return {};
  return FromBytes(data, SizeofResource(module, info));
}

TPicture TPicture::FromBytes(const void *data, size_t size) {
  TComApartment com;
  TComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, factory.ReceiveVoid())))
    return {};
  TComPtr<IWICStream> stream;
  if (FAILED(factory->CreateStream(stream.Receive())) ||
      FAILED(stream->InitializeFromMemory(static_cast<BYTE *>(const_cast<void *>(data)),
                                          static_cast<DWORD>(size))))
    return {};
  TComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnLoad,
                                              decoder.Receive())))
    return {};
  TComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.Receive())))
    return {};
  TComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.Receive())) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)))
    return {};
  UINT width = 0, height = 0;
  if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0)
    return {};

  auto bits = std::make_shared<TBits>();
  void *pixels = nullptr;
  bits->Handle = CreateArgbBitmap(static_cast<int>(width), static_cast<int>(height), &pixels);
  if (!bits->Handle)
    return {};
  bits->Pixels = static_cast<unsigned *>(pixels);
  if (FAILED(converter->CopyPixels(nullptr, width * 4, width * height * 4,
                                   static_cast<BYTE *>(pixels))))
    return {};
  TPicture picture;
  picture.bitmap_ = std::move(bits);
  picture.width_ = static_cast<int>(width);
  picture.height_ = static_cast<int>(height);
  return picture;
}

unsigned TPicture::PixelAt(int x, int y) const {
  if (!bitmap_ || x < 0 || y < 0 || x >= width_ || y >= height_)
    return 0;
  GdiFlush();
  return bitmap_->Pixels[static_cast<size_t>(y) * width_ + x];
}

namespace {

// Catmull-Rom cubic: sharp edges stay sharp, with little ringing.
double Cubic(double x) {
  x = std::fabs(x);
  if (x < 1.0)
    return (1.5 * x - 2.5) * x * x + 1.0;
  if (x < 2.0)
    return ((-0.5 * x + 2.5) * x - 4.0) * x + 2.0;
  return 0.0;
}

struct TTap {
  int Source;
  double Weight;
};

// For each target position along one axis, the source positions that make
// it and their weights. Shrinking widens the filter so that every source
// pixel counts.
std::vector<std::vector<TTap>> Taps(int sourceSize, int targetSize) {
  const double ratio = static_cast<double>(sourceSize) / targetSize;
  const double widen = std::max(1.0, ratio);
  const double support = 2.0 * widen;
  std::vector<std::vector<TTap>> taps(static_cast<size_t>(targetSize));
  for (int t = 0; t < targetSize; ++t) {
    const double centre = (t + 0.5) * ratio - 0.5;
    double total = 0.0;
    std::vector<TTap> &row = taps[static_cast<size_t>(t)];
    for (int s = static_cast<int>(std::floor(centre - support)) + 1;
         s <= static_cast<int>(std::floor(centre + support)); ++s) {
      const double w = Cubic((s - centre) / widen);
      if (w == 0.0)
        continue;
      row.push_back({std::clamp(s, 0, sourceSize - 1), w});
      total += w;
    }
    for (TTap &tap : row)
      tap.Weight /= total;
  }
  return taps;
}

// Resamples premultiplied BGRA pixels, rows then columns.
void Resample(const unsigned *source, int sw, int sh, unsigned *target, int tw, int th) {
  const auto across = Taps(sw, tw), down = Taps(sh, th);
  std::vector<double> rows(static_cast<size_t>(sh) * tw * 4);
  for (int y = 0; y < sh; ++y)
    for (int x = 0; x < tw; ++x) {
      double sum[4] = {};
      for (const TTap &tap : across[static_cast<size_t>(x)]) {
        const unsigned p = source[static_cast<size_t>(y) * sw + tap.Source];
        for (int c = 0; c < 4; ++c)
          sum[c] += tap.Weight * ((p >> (8 * c)) & 0xFF);
      }
      std::copy(sum, sum + 4, &rows[(static_cast<size_t>(y) * tw + x) * 4]);
    }
  for (int y = 0; y < th; ++y)
    for (int x = 0; x < tw; ++x) {
      double sum[4] = {};
      for (const TTap &tap : down[static_cast<size_t>(y)])
        for (int c = 0; c < 4; ++c)
          sum[c] += tap.Weight * rows[(static_cast<size_t>(tap.Source) * tw + x) * 4 + c];
      // Clamped, and no colour above its alpha: the pixel stays premultiplied.
      const int alpha = std::clamp(static_cast<int>(std::lround(sum[3])), 0, 255);
      unsigned p = static_cast<unsigned>(alpha) << 24;
      for (int c = 0; c < 3; ++c)
        p |= static_cast<unsigned>(std::clamp(static_cast<int>(std::lround(sum[c])), 0, alpha))
             << (8 * c);
      target[static_cast<size_t>(y) * tw + x] = p;
    }
}

} // namespace

TPicture TPicture::Resized(int width, int height) const {
  if (!bitmap_ || width <= 0 || height <= 0 || (width == width_ && height == height_))
    return *this;
  if (!bitmap_->Resized || bitmap_->ResizedWidth != width || bitmap_->ResizedHeight != height) {
    auto bits = std::make_shared<TBits>();
    void *pixels = nullptr;
    bits->Handle = CreateArgbBitmap(width, height, &pixels);
    if (!bits->Handle)
      return *this;
    bits->Pixels = static_cast<unsigned *>(pixels);
    GdiFlush();
    Resample(bitmap_->Pixels, width_, height_, bits->Pixels, width, height);
    bitmap_->Resized = std::move(bits);
    bitmap_->ResizedWidth = width;
    bitmap_->ResizedHeight = height;
  }
  TPicture picture;
  picture.bitmap_ = bitmap_->Resized;
  picture.width_ = width;
  picture.height_ = height;
  return picture;
}

void TPicture::Draw(HDC dc, const RECT &target) const {
  if (!bitmap_)
    return;
  const int width = target.right - target.left, height = target.bottom - target.top;
  const TPicture shown = Resized(width, height);
  const UniqueMemoryDc source(CreateCompatibleDC(dc));
  const TSelectObject select(source.Get(), shown.bitmap_->Handle.Get());
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dc, target.left, target.top, width, height, source.Get(), 0, 0, shown.width_,
             shown.height_, blend);
}

UniqueBitmap CreateArgbBitmap(int width, int height, void **pixels) {
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height; // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return UniqueBitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, pixels, nullptr, 0));
}

UniqueImageList LoadImageList(const std::wstring &prefix, int count, int size) {
  UniqueImageList list(ImageList_Create(size, size, ILC_COLOR32, count, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t name[64];
    wsprintfW(name, L"%s%02d", prefix.c_str(), i);
    TPicture picture = TPicture::FromResource(name);
    // A picture that cannot be had leaves a blank icon in its place.
    void *pixels = nullptr;
    const UniqueBitmap bitmap = CreateArgbBitmap(size, size, &pixels);
    if (!bitmap)
      continue;
    {
      const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
      const TSelectObject select(dc.Get(), bitmap.Get());
      const RECT r = {0, 0, size, size};
      picture.Draw(dc.Get(), r);
    }
    ImageList_Add(list.Get(), bitmap.Get(), nullptr); // the list copies the bitmap
  }
  return list;
}

} // namespace velmora
