// Registered as the test prefix's handler for http and https: appends the
// address the shell was asked to open, as one UTF-8 line, to the file named
// by CORVANE_RECORDER_LOG.

#include <windows.h>

#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*command_line*/,
                    int /*show*/) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  wchar_t log_path[MAX_PATH] = {};
  if (argc < 2 || GetEnvironmentVariableW(L"CORVANE_RECORDER_LOG", log_path, MAX_PATH) == 0)
    return 2;
  const std::wstring address = argv[1];
  LocalFree(argv);

  std::string line(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, address.data(),
                                                                static_cast<int>(address.size()),
                                                                nullptr, 0, nullptr, nullptr)),
                   '\0');
  WideCharToMultiByte(CP_UTF8, 0, address.data(), static_cast<int>(address.size()), line.data(),
                      static_cast<int>(line.size()), nullptr, nullptr);
  line += '\n';
  // Appends are atomic per write, so two quick requests never interleave.
  HANDLE file = CreateFileW(log_path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
  return 0;
}
