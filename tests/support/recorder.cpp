// Registered as the test prefix's handler for http and https: appends the
// address the shell was asked to open, as one UTF-8 line, to the file named
// by CORVANE_RECORDER_LOG.
//
//   recorder ADDRESS
//   recorder --dde SERVICE --busy MS
//
// The second form is a handler the shell talks to through DDE, as browsers
// of the old kind registered themselves: it stays busy for MS milliseconds
// before it takes any message, then appends the text of each DDE execute on
// SERVICE's "WWW_OpenURL" topic, and ends two seconds after the last one.

#include <windows.h>

#include <ddeml.h>
#include <shellapi.h>

#include <string>

namespace {

bool Append(std::wstring_view address) {
  wchar_t log_path[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"CORVANE_RECORDER_LOG", log_path, MAX_PATH) == 0) return false;
  std::string line(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, address.data(),
                                                                static_cast<int>(address.size()),
                                                                nullptr, 0, nullptr, nullptr)),
                   '\0');
  WideCharToMultiByte(CP_UTF8, 0, address.data(), static_cast<int>(address.size()), line.data(),
                      static_cast<int>(line.size()), nullptr, nullptr);
  line += '\n';
  // Two requests a moment apart start two recorders that append at once.
  // Wine does not make an append atomic (about one pair in a hundred lost a
  // line), so the recorders take turns.
  HANDLE turn = CreateMutexW(nullptr, FALSE, L"Local\\CorvaneRecorderLog");
  if (turn == nullptr) return false;
  WaitForSingleObject(turn, INFINITE);
  bool appended = false;
  HANDLE file = CreateFileW(log_path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    appended = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
               written == line.size();
    CloseHandle(file);
  }
  ReleaseMutex(turn);
  CloseHandle(turn);
  return appended;
}

// DDEML's callback has no context argument; this program serves one service.
ULONGLONG last_execute = 0;

HDDEDATA CALLBACK OnDde(UINT type, UINT /*format*/, HCONV /*conversation*/, HSZ /*topic*/,
                        HSZ /*service*/, HDDEDATA data, ULONG_PTR /*data1*/, ULONG_PTR /*data2*/) {
  if (type == XTYP_CONNECT) return reinterpret_cast<HDDEDATA>(TRUE);
  if (type != XTYP_EXECUTE) return nullptr;
  const DWORD size = DdeGetData(data, nullptr, 0, 0);
  std::wstring text(size / sizeof(wchar_t), L'\0');
  DdeGetData(data, reinterpret_cast<BYTE*>(text.data()), size, 0);
  Append(text.c_str());  // up to its NUL
  last_execute = GetTickCount64();
  return reinterpret_cast<HDDEDATA>(DDE_FACK);
}

int ServeDde(const std::wstring& service, DWORD busy_ms) {
  Sleep(busy_ms);
  DWORD instance = 0;
  if (DdeInitializeW(&instance, OnDde, APPCLASS_STANDARD | CBF_SKIP_ALLNOTIFICATIONS, 0) !=
      DMLERR_NO_ERROR) {
    return 4;
  }
  HSZ name = DdeCreateStringHandleW(instance, service.c_str(), CP_WINUNICODE);
  DdeNameService(instance, name, nullptr, DNS_REGISTER);
  const ULONGLONG started = GetTickCount64();
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (last_execute != 0 ? now > last_execute + 2000 : now > started + 30000) break;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
  DdeNameService(instance, name, nullptr, DNS_UNREGISTER);
  DdeFreeStringHandle(instance, name);
  DdeUninitialize(instance);
  return last_execute != 0 ? 0 : 5;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*command_line*/,
                    int /*show*/) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring service;
  DWORD busy_ms = 0;
  std::wstring address;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--dde" && i + 1 < argc) {
      service = argv[++i];
    } else if (arg == L"--busy" && i + 1 < argc) {
      busy_ms = static_cast<DWORD>(std::wcstoul(argv[++i], nullptr, 10));
    } else {
      address = arg;
    }
  }
  LocalFree(argv);
  if (!service.empty()) return ServeDde(service, busy_ms);
  if (argc < 2) return 2;
  return Append(address) ? 0 : 3;
}
