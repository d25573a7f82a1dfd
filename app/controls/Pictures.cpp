#include "app/controls/Pictures.h"

#include "base/Com.h"
#include "base/Handles.h"

#include <commctrl.h>
#include <wincodec.h>

#include <cstring>

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

void TPicture::Draw(HDC dc, const RECT &target) const {
  if (!bitmap_)
    return;
  const UniqueMemoryDc source(CreateCompatibleDC(dc));
  const TSelectObject select(source.Get(), bitmap_->Handle.Get());
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  SetStretchBltMode(dc, HALFTONE);
  AlphaBlend(dc, target.left, target.top, target.right - target.left, target.bottom - target.top,
             source.Get(), 0, 0, width_, height_, blend);
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
