#include "main_window/background_picture.h"

#include <algorithm>
#include <cstdint>

#include "picture/jpeg_top_rows.h"
#include "platform/win32/trace.h"

namespace corvane::main_window {

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

}  // namespace

bool BackgroundPicture::Load(HINSTANCE instance, int resource_id, SIZE visible) {
  const ResourceBytes jpeg = FindResourceBytes(instance, resource_id);
  if (jpeg.data == nullptr) return false;
  const picture::Pixels32 decoded =
      picture::DecodeJpegTopLeft({jpeg.data, jpeg.size}, visible.cx, visible.cy);
  if (decoded.empty()) {
    win32::Trace("the picture could not be decoded", static_cast<unsigned long>(resource_id));
    return false;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = decoded.width;
  info.bmiHeader.biHeight = -decoded.height;  // top row first, as decoded
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  win32::ScopedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return win32::TraceLastError();
  // 0x00RRGGBB is the byte order of a 32-bit DIB's pixels.
  std::copy(decoded.pixels.begin(), decoded.pixels.end(), static_cast<std::uint32_t*>(bits));
  bitmap_ = std::move(bitmap);
  size_ = {decoded.width, decoded.height};
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
