#pragma once

#include <windows.h>

#include <future>

#include "platform/win32/scoped.h"

namespace corvane::main_window {

// The window's background picture, decoded once from a JPEG resource with
// Windows Imaging Component and kept as a bitmap cropped to what the window
// can show: it is painted at its natural size from the top-left, never
// scaled. The decode runs on a worker thread, overlapping the window's
// creation; the first paint waits for it.
class BackgroundPicture {
 public:
  BackgroundPicture() = default;
  BackgroundPicture(const BackgroundPicture&) = delete;
  BackgroundPicture& operator=(const BackgroundPicture&) = delete;
  ~BackgroundPicture() = default;  // the future waits for a decode still running

  // Starts decoding the top-left `visible` part, unless that part is decoded
  // or being decoded already.
  void Request(HINSTANCE instance, int resource_id, SIZE visible);
  // Decodes now; false when Windows cannot decode the picture (the window
  // then shows its plain background colour).
  bool Load(HINSTANCE instance, int resource_id, SIZE visible);

  SIZE Size();
  void Paint(HDC dc);

 private:
  struct Decoded {
    win32::ScopedBitmap bitmap;
    SIZE size{};
  };
  static Decoded Decode(HINSTANCE instance, int resource_id, SIZE visible);
  void TakePending();

  std::future<Decoded> pending_;
  SIZE requested_{};
  Decoded current_;
};

}  // namespace corvane::main_window
