#pragma once

#include <windows.h>

#include <initializer_list>

#include "platform/win32/scoped.h"

namespace corvane::main_window {

struct FontRequest {
  std::initializer_list<const wchar_t*> faces;  // the first one installed is used
  int points = 0;
  int weight = FW_NORMAL;
  bool underline = false;
  BYTE charset = DEFAULT_CHARSET;
};

// The font at `dpi`. Where none of the faces is installed, the system's
// message font face is taken: it has the glyphs of the user's language.
win32::ScopedFont CreateDpiFont(const FontRequest& request, int dpi);

// The system's tooltip font (NONCLIENTMETRICS' status font) at `dpi`.
win32::ScopedFont CreateTooltipFont(int dpi);

}  // namespace corvane::main_window
