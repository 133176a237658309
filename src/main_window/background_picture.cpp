#include "main_window/background_picture.h"

#include <wincodec.h>

#include <algorithm>

namespace corvane::main_window {

using win32::ComPtr;

namespace {

struct ResourceBytes {
  const BYTE* data = nullptr;
  DWORD size = 0;
};

ResourceBytes FindResourceBytes(HINSTANCE instance, int resource_id) {
  HRSRC info = FindResourceW(instance, MAKEINTRESOURCEW(resource_id), RT_RCDATA);
  if (info == nullptr) return {};
  HGLOBAL loaded = LoadResource(instance, info);
  if (loaded == nullptr) return {};
  // Resources live as long as the module: nothing to free.
  return {static_cast<const BYTE*>(LockResource(loaded)), SizeofResource(instance, info)};
}

}  // namespace

bool BackgroundPicture::Load(HINSTANCE instance, int resource_id, SIZE visible) {
  const ResourceBytes jpeg = FindResourceBytes(instance, resource_id);
  if (jpeg.data == nullptr) return false;

  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICBitmapClipper> clipper;
  ComPtr<IWICFormatConverter> converter;
  UINT width = 0;
  UINT height = 0;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, factory.put_void())) ||
      FAILED(factory->CreateStream(stream.put())) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(jpeg.data), jpeg.size)) ||  // NOLINT
      FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.put())) ||
      FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&width, &height))) {
    return false;
  }
  const WICRect crop{0, 0, std::min(static_cast<INT>(width), static_cast<INT>(visible.cx)),
                     std::min(static_cast<INT>(height), static_cast<INT>(visible.cy))};
  if (crop.Width <= 0 || crop.Height <= 0 || FAILED(factory->CreateBitmapClipper(clipper.put())) ||
      FAILED(clipper->Initialize(frame.get(), &crop)) ||
      FAILED(factory->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(clipper.get(), GUID_WICPixelFormat32bppBGR,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom))) {
    return false;
  }

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = crop.Width;
  info.bmiHeader.biHeight = -crop.Height;  // top-down, as WIC copies rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  win32::ScopedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const UINT stride = static_cast<UINT>(crop.Width) * 4;
  if (!bitmap ||
      FAILED(converter->CopyPixels(nullptr, stride, stride * static_cast<UINT>(crop.Height),
                                   static_cast<BYTE*>(bits)))) {
    return false;
  }
  bitmap_ = std::move(bitmap);
  size_ = {crop.Width, crop.Height};
  return true;
}

void BackgroundPicture::Paint(HDC dc) const {
  if (!bitmap_) return;
  const win32::ScopedMemoryDc memory(CreateCompatibleDC(dc));
  if (!memory) return;
  HGDIOBJ old = SelectObject(memory.get(), bitmap_.get());
  BitBlt(dc, 0, 0, size_.cx, size_.cy, memory.get(), 0, 0, SRCCOPY);
  SelectObject(memory.get(), old);
}

}  // namespace corvane::main_window
