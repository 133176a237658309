// Stands in for Internet Explorer in another process: a frame of class
// "IEFrame" with the address bar's window chain under it, built from the
// real common controls, showing the address given on the command line.
//
//   browser_fixture --ready EVENT --quit EVENT --address HEX [--no-workerw] [--hang]
//                   [--address-band-root]
//
// HEX is the address as UTF-16 code units, four hex digits each, so that no
// code page touches it on the way. With --hang the windows' thread stops
// pumping messages once they are built, like a browser that hangs. With
// --address-band-root the field is an Edit under "Address Band Root", as in
// the browser's versions 8 to 11.

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

std::wstring DecodeHex(const wchar_t* hex) {
  std::wstring text;
  const std::size_t length = wcslen(hex);
  for (std::size_t i = 0; i + 4 <= length; i += 4) {
    text.push_back(
        static_cast<wchar_t>(std::wcstoul(std::wstring(hex + i, 4).c_str(), nullptr, 16)));
  }
  return text;
}

HWND CreateChild(const wchar_t* class_name, HWND parent, DWORD style = 0) {
  return CreateWindowExW(0, class_name, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 400, 30, parent,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

void RegisterPlainClass(const wchar_t* name) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*command_line*/,
                    int /*show*/) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring ready_name, quit_name, address;
  bool worker_w = true, hang = false, address_band_root = false;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--ready" && i + 1 < argc)
      ready_name = argv[++i];
    else if (arg == L"--quit" && i + 1 < argc)
      quit_name = argv[++i];
    else if (arg == L"--address" && i + 1 < argc)
      address = DecodeHex(argv[++i]);
    else if (arg == L"--no-workerw")
      worker_w = false;
    else if (arg == L"--hang")
      hang = true;
    else if (arg == L"--address-band-root")
      address_band_root = true;
  }
  LocalFree(argv);

  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                      ICC_COOL_CLASSES | ICC_USEREX_CLASSES};
  InitCommonControlsEx(&controls);
  RegisterPlainClass(L"IEFrame");
  RegisterPlainClass(L"WorkerW");
  RegisterPlainClass(L"Address Band Root");
  HWND frame = CreateWindowExW(0, L"IEFrame", L"Fixture browser", WS_OVERLAPPEDWINDOW, 300, 300,
                               500, 120, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND parent = worker_w ? CreateChild(L"WorkerW", frame) : frame;
  HWND rebar = CreateChild(REBARCLASSNAMEW, parent);
  HWND edit = nullptr;
  if (address_band_root) {
    edit = CreateChild(WC_EDITW, CreateChild(L"Address Band Root", rebar), ES_AUTOHSCROLL);
  } else {
    HWND combo_box_ex = CreateChild(WC_COMBOBOXEXW, rebar, CBS_DROPDOWN);
    edit = reinterpret_cast<HWND>(SendMessageW(combo_box_ex, CBEM_GETEDITCONTROL, 0, 0));
  }
  SetWindowTextW(edit, address.c_str());
  ShowWindow(frame, SW_SHOWNOACTIVATE);

  HANDLE quit = OpenEventW(SYNCHRONIZE, FALSE, quit_name.c_str());
  HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, ready_name.c_str());
  if (ready != nullptr) SetEvent(ready);
  if (hang) {
    WaitForSingleObject(quit, INFINITE);
    return 0;
  }
  for (;;) {
    const DWORD woke = MsgWaitForMultipleObjects(1, &quit, FALSE, INFINITE, QS_ALLINPUT);
    if (woke != WAIT_OBJECT_0 + 1) return 0;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}
