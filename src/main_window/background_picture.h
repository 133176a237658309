#pragma once

#include <windows.h>

#include "platform/win32/scoped.h"

namespace corvane::main_window {

// The window's background picture: the part of a JPEG resource the window
// can show, decoded once and kept as a bitmap. It is painted at its natural
// size from the top-left, never scaled.
class BackgroundPicture {
 public:
  // Decodes the top-left `visible` part of the picture; false when it cannot
  // be decoded (the window then shows its plain background colour).
  bool Load(HINSTANCE instance, int resource_id, SIZE visible);
  void Paint(HDC dc) const;
  SIZE Size() const { return size_; }

 private:
  win32::ScopedBitmap bitmap_;
  SIZE size_{};
};

}  // namespace corvane::main_window
