#include "main_window/fonts.h"

#include <cwchar>

#include "platform/twips.h"
#include "platform/win32/dpi.h"
#include "platform/win32/system_library.h"

namespace corvane::main_window {

namespace {

int CALLBACK FlagFound(const LOGFONTW* /*font*/, const TEXTMETRICW* /*metrics*/, DWORD /*type*/,
                       LPARAM found_flag) {
  *reinterpret_cast<bool*>(found_flag) = true;
  return 0;
}

bool IsFaceInstalled(const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(query.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  const win32::ScopedWindowDc screen(nullptr);
  EnumFontFamiliesExW(screen.get(), &query, FlagFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

}  // namespace

win32::ScopedFont CreateDpiFont(const FontRequest& request, int dpi) {
  LOGFONTW font{};
  font.lfHeight = -platform::PointsToPixels(request.points, dpi);
  font.lfWeight = request.weight;
  font.lfUnderline = request.underline ? TRUE : FALSE;
  font.lfCharSet = request.charset;
  font.lfQuality = CLEARTYPE_QUALITY;
  bool chosen = false;
  for (const wchar_t* face : request.faces) {
    if (IsFaceInstalled(face)) {
      wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
      chosen = true;
      break;
    }
  }
  if (!chosen) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
      wcsncpy(font.lfFaceName, metrics.lfMessageFont.lfFaceName, LF_FACESIZE - 1);
    }
    font.lfCharSet = DEFAULT_CHARSET;
  }
  return win32::ScopedFont(CreateFontIndirectW(&font));
}

win32::ScopedFont CreateTooltipFont(int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  // Windows 10 1607 on gives the metrics for any DPI; before it, the
  // system's DPI is every window's, so scaling its metrics is exact there.
  using ForDpi = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
  const auto for_dpi =
      win32::ProcAddress<ForDpi>(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi");
  if (for_dpi == nullptr ||
      !for_dpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, static_cast<UINT>(dpi))) {
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return {};
    metrics.lfStatusFont.lfHeight =
        MulDiv(metrics.lfStatusFont.lfHeight, dpi, win32::Dpi().ForSystem());
  }
  return win32::ScopedFont(CreateFontIndirectW(&metrics.lfStatusFont));
}

}  // namespace corvane::main_window
