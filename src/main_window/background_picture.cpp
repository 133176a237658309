#include "main_window/background_picture.h"

#include <wincodec.h>

#include <algorithm>

#include "platform/win32/trace.h"

namespace corvane::main_window {

using win32::ComPtr;

namespace {

struct ResourceBytes {
  const BYTE* data = nullptr;
  DWORD size = 0;
};

ResourceBytes FindResourceBytes(HINSTANCE instance, int resource_id) {
  HRSRC info = FindResourceW(instance, MAKEINTRESOURCEW(resource_id), RT_RCDATA);
  if (info == nullptr) {
    win32::TraceLastError();
    return {};
  }
  HGLOBAL loaded = LoadResource(instance, info);
  if (loaded == nullptr) {
    win32::TraceLastError();
    return {};
  }
  // Resources live as long as the module: nothing to free.
  return {static_cast<const BYTE*>(LockResource(loaded)), SizeofResource(instance, info)};
}

// The top-left `visible` part of the JPEG as 32-bit BGR, or null where
// Windows cannot decode it. The first imaging factory: Windows 7 has no other.
ComPtr<IWICBitmapSource> Decode(const ResourceBytes& jpeg, SIZE visible) {
  ComPtr<IWICImagingFactory> factory;
  if (win32::Failed(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(factory.put())))) {
    return {};
  }
  ComPtr<IWICStream> stream;
  if (win32::Failed(factory->CreateStream(stream.put())) ||
      win32::Failed(stream->InitializeFromMemory(const_cast<BYTE*>(jpeg.data), jpeg.size))) {
    return {};
  }
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  UINT width = 0;
  UINT height = 0;
  if (win32::Failed(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.put())) ||
      win32::Failed(decoder->GetFrame(0, frame.put())) || win32::Failed(frame->GetSize(&width, &height))) {
    return {};
  }
  const WICRect crop{0, 0, std::min(static_cast<INT>(width), static_cast<INT>(visible.cx)),
                     std::min(static_cast<INT>(height), static_cast<INT>(visible.cy))};
  if (crop.Width <= 0 || crop.Height <= 0) return {};
  ComPtr<IWICBitmapClipper> clipper;
  if (win32::Failed(factory->CreateBitmapClipper(clipper.put())) ||
      win32::Failed(clipper->Initialize(frame.get(), &crop))) {
    return {};
  }
  ComPtr<IWICFormatConverter> converter;
  if (win32::Failed(factory->CreateFormatConverter(converter.put())) ||
      win32::Failed(converter->Initialize(clipper.get(), GUID_WICPixelFormat32bppBGR,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom))) {
    return {};
  }
  ComPtr<IWICBitmapSource> source;
  if (win32::Failed(converter->QueryInterface(IID_PPV_ARGS(source.put())))) return {};
  return source;
}

// A top-down DIB with the source's pixels, or null.
win32::ScopedBitmap MakeBitmap(IWICBitmapSource& source, SIZE& size) {
  UINT width = 0;
  UINT height = 0;
  if (win32::Failed(source.GetSize(&width, &height))) return {};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down, as WIC copies rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  win32::ScopedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) {
    win32::TraceLastError();
    return {};
  }
  const UINT stride = width * 4;
  if (win32::Failed(source.CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)))) {
    return {};
  }
  size = {static_cast<LONG>(width), static_cast<LONG>(height)};
  return bitmap;
}

}  // namespace

bool BackgroundPicture::Load(HINSTANCE instance, int resource_id, SIZE visible) {
  const ResourceBytes jpeg = FindResourceBytes(instance, resource_id);
  if (jpeg.data == nullptr) return false;
  const ComPtr<IWICBitmapSource> source = Decode(jpeg, visible);
  if (!source) return false;
  SIZE size{};
  win32::ScopedBitmap bitmap = MakeBitmap(*source.get(), size);
  if (!bitmap) return false;
  bitmap_ = std::move(bitmap);
  size_ = size;
  return true;
}

void BackgroundPicture::Paint(HDC dc) const {
  if (!bitmap_) return;
  const win32::ScopedMemoryDc memory(CreateCompatibleDC(dc));
  if (!memory) return;
  const win32::ScopedSelectObject selected(memory.get(), bitmap_.get());
  BitBlt(dc, 0, 0, size_.cx, size_.cy, memory.get(), 0, 0, SRCCOPY);
}

}  // namespace corvane::main_window
