#include <windows.h>

#include <commctrl.h>

#include "main_window/form1.h"
#include "platform/win32/dpi.h"
#include "platform/win32/trace.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_urls.h"
#include "platform/win32/win32_window_system.h"
#include "promotion/promotion.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, PWSTR /*lpCmdLine*/,
                    int nShowCmd) {
  using namespace corvane;
  // First, so it is undone last, after every COM object is gone.
  win32::OleApartment ole;
  win32::OpenWindows open_windows;
  const win32::Dpi dpis;
  const win32::Contrast contrast;
  win32::Win32WindowSystem windows;
  win32::Win32Urls urls;
  win32::Win32Shell shell(ole);
  promotion::Promotion promotion(hInstance, open_windows, dpis, ole);
  main_window::Form1 form1(hInstance, open_windows, dpis, contrast, ole, windows, urls, shell,
                           [&promotion] { promotion.Label1_Click(); });

  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  // Without it the list may still be made (common controls 6 registers its
  // classes on load); if it is not, Show fails below.
  if (!InitCommonControlsEx(&controls)) win32::TraceLastError();
  if (!form1.Show(nShowCmd)) {
    // Where the window failed was traced there; this says what followed.
    win32::Trace("no main window, so Corvane exits with code", 1);
    return 1;
  }

  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
