// The floor for start-up and memory: a bare Win32 program that shows one
// empty window of Corvane's size and nothing else. Built a second time with
// WITH_COMBO_BOX and Corvane's manifest, it also shows a themed combo box:
// the share of Corvane's start-up that the common controls themselves cost.
// Built a third time with WITH_ICON as well, its window carries Corvane's
// icon: what the icon alone costs.

#include <windows.h>

static LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wparam, lparam);
}

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, PWSTR /*lpCmdLine*/,
                    int nShowCmd) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = BareWindowProc;
  wc.hInstance = hInstance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
#ifdef WITH_ICON
  wc.hIcon = static_cast<HICON>(
      LoadImageW(hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  wc.hIconSm = static_cast<HICON>(LoadImageW(hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), LR_SHARED));
#endif
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = L"BareWindow";
  RegisterClassExW(&wc);
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT rect{0, 0, 242, 73};
  AdjustWindowRectEx(&rect, kStyle, FALSE, 0);
  HWND window = CreateWindowExW(0, L"BareWindow", L"Bare", kStyle, 0, 0, rect.right - rect.left,
                                rect.bottom - rect.top, nullptr, nullptr, hInstance, nullptr);
#ifdef WITH_COMBO_BOX
  CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 32, 16, 177, 200,
                  window, nullptr, hInstance, nullptr);
#endif
  ShowWindow(window, nShowCmd);
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
