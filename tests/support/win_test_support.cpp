#include "support/win_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/twips.h"

namespace corvane::testing {

std::wstring ModuleDir() {
  std::wstring path(MAX_PATH, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  return path.substr(0, path.find_last_of(L"\\/"));
}

std::string Utf8(std::wstring_view text) {
  if (text.empty()) return {};
  std::string out(
      static_cast<std::size_t>(WideCharToMultiByte(
          CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr)),
      '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                      static_cast<int>(out.size()), nullptr, nullptr);
  return out;
}

std::string Utf8(std::u16string_view text) {
  return Utf8(std::wstring_view(reinterpret_cast<const wchar_t*>(text.data()), text.size()));
}

int TestDpi() {
  const char* dpi = std::getenv("CORVANE_TEST_DPI");
  return dpi != nullptr ? static_cast<int>(std::strtol(dpi, nullptr, 10)) : USER_DEFAULT_SCREEN_DPI;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

void PressKey(WORD key) {
  INPUT inputs[2]{};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = key;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

void HoldKey(WORD key, int repeats) {
  std::vector<INPUT> inputs(static_cast<std::size_t>(repeats) + 1);
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
  }
  inputs.back().ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeText(std::wstring_view text) {
  for (const wchar_t c : text) {
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wScan = inputs[1].ki.wScan = c;
    inputs[0].ki.dwFlags = KEYEVENTF_UNICODE;
    inputs[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
  }
}

void ExpectPromotionWindowLoaded(HWND window, HWND control) {
  const int dpi = TestDpi();
  const int width = platform::TwipsToPixels(9090, dpi);
  const int height = platform::TwipsToPixels(5710, dpi);
  RECT frame{};
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.right - frame.left, width);
  EXPECT_EQ(frame.bottom - frame.top, height);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
  EXPECT_EQ(frame.left, (monitor.rcMonitor.right - monitor.rcMonitor.left - width) / 2);
  EXPECT_EQ(frame.top, (monitor.rcMonitor.bottom - monitor.rcMonitor.top - height) / 2);
  ASSERT_NE(control, nullptr) << "no browser control";
  RECT inner{};
  GetWindowRect(control, &inner);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&inner), 2);
  EXPECT_EQ(inner.left, 0);
  EXPECT_EQ(inner.top, 0);
  EXPECT_EQ(inner.right, width);
  EXPECT_EQ(inner.bottom, height);
}

namespace {

// A mouse event at `screen`, in the absolute coordinates SendInput wants.
INPUT MouseAt(POINT screen, DWORD flags) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(screen.x, 65535, width - 1);
  input.mi.dy = MulDiv(screen.y, 65535, height - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return input;
}

}  // namespace

void MoveMouse(POINT screen) {
  // Wine follows the pointer's window (and so its shape) through the X
  // server's own motion events, which the warp gives; the input event gives
  // the window its mouse messages. The warp stops a pixel short and the input
  // makes the last pixel's move, as a hand does: after a bare warp the X
  // server now and then keeps its own pointer shape until the next motion.
  SetCursorPos(screen.x - 1, screen.y);
  INPUT move = MouseAt(screen, 0);
  SendInput(1, &move, sizeof(INPUT));
  // Wait until the pointer is there, so what follows happens where it should.
  WaitUntil(
      [&] {
        POINT now{};
        GetCursorPos(&now);
        return now.x == screen.x && now.y == screen.y;
      },
      2000);
}

void Click(POINT screen) {
  MoveMouse(screen);
  // Position, press and release in one call: nothing can move the pointer between them.
  INPUT clicks[2] = {MouseAt(screen, MOUSEEVENTF_LEFTDOWN), MouseAt(screen, MOUSEEVENTF_LEFTUP)};
  SendInput(2, clicks, sizeof(INPUT));
}

void Pause(DWORD ms) {
  WaitUntil([] { return false; }, ms);
}

ChildProcess::ChildProcess(const std::wstring& command_line) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  // Wine now and then loses a new process while it starts (about one start
  // in several hundred under load) and reports ERROR_INTERNAL_ERROR; the
  // program was never run, so starting it again changes nothing it tests.
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::wstring mutable_line = command_line;
    if (CreateProcessW(nullptr, mutable_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info)) {
      CloseHandle(info.hThread);
      process_.reset(info.hProcess);
      id_ = info.dwProcessId;
      return;
    }
    const DWORD error = GetLastError();
    std::printf("%ls: not started, error %lu\n", command_line.c_str(), error);
    if (error != ERROR_INTERNAL_ERROR) return;
  }
}

ChildProcess::~ChildProcess() {
  if (Running()) {
    TerminateProcess(process_.get(), 1);
    WaitForExit(5000);
  }
}

bool ChildProcess::WaitForExit(DWORD timeout_ms) const {
  return WaitForSingleObject(process_.get(), timeout_ms) == WAIT_OBJECT_0;
}

namespace {

std::wstring UniqueName(const wchar_t* what) {
  static LONG counter = 0;
  std::wostringstream name;
  name << L"corvane-" << what << L"-" << GetCurrentProcessId() << L"-"
       << InterlockedIncrement(&counter);
  return name.str();
}

std::wstring Hex(std::u16string_view text) {
  std::wstring hex;
  wchar_t digits[5];
  for (const char16_t unit : text) {
    (void)swprintf(digits, 5, L"%04X", static_cast<unsigned>(unit));
    hex += digits;
  }
  return hex;
}

}  // namespace

BrowserFixture::BrowserFixture(std::u16string_view address, Options options) {
  const std::wstring ready_name = UniqueName(L"ready");
  const std::wstring quit_name = UniqueName(L"quit");
  ready_event_.reset(CreateEventW(nullptr, TRUE, FALSE, ready_name.c_str()));
  quit_event_.reset(CreateEventW(nullptr, TRUE, FALSE, quit_name.c_str()));
  std::wstring command = L"\"" + ModuleDir() + L"\\browser_fixture.exe\" --ready " + ready_name +
                         L" --quit " + quit_name + L" --address " + Hex(address) + L" ";
  if (!options.worker_w) command += L" --no-workerw";
  if (options.hang) command += L" --hang";
  if (options.address_band_root) command += L" --address-band-root";
  process_ = ChildProcess(command);
  if (!process_.Started()) return;
  const HANDLE waits[] = {ready_event_.get(), process_.Handle()};
  const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, 15000);
  ready_ = woke == WAIT_OBJECT_0;
  if (woke == WAIT_OBJECT_0 + 1) {
    DWORD code = 0;
    GetExitCodeProcess(process_.Handle(), &code);
    std::printf("browser fixture: ended before it was ready, exit code 0x%08lX\n", code);
  } else if (!ready_) {
    std::printf("browser fixture: not ready in 15 s (wait result %lu)\n", woke);
  }
}

BrowserFixture::~BrowserFixture() {
  SetEvent(quit_event_.get());
  process_.WaitForExit(5000);
}

namespace {

constexpr wchar_t kHttpsOpen[] = L"https\\shell\\open";

std::wstring ReadDefault(const std::wstring& key) {
  wchar_t value[1024] = {};
  DWORD size = sizeof(value);
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  return value;
}

void WriteValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value.c_str(),
                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

HttpsHandlerSwap::HttpsHandlerSwap(HttpsHandler handler, DWORD busy_ms)
    : command_(ReadDefault(std::wstring(kHttpsOpen) + L"\\command")) {
  const std::wstring open = kHttpsOpen;
  if (handler == HttpsHandler::kNone) {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, open.c_str());
    return;
  }
  WriteValue(open + L"\\command", nullptr,
             L"\"" + ModuleDir() + L"\\recorder.exe\" --dde CorvaneRecorder --busy " +
                 std::to_wstring(busy_ms));
  WriteValue(open + L"\\ddeexec", nullptr, L"%1");
  WriteValue(open + L"\\ddeexec\\application", nullptr, L"CorvaneRecorder");
  WriteValue(open + L"\\ddeexec\\topic", nullptr, L"WWW_OpenURL");
}

HttpsHandlerSwap::~HttpsHandlerSwap() {
  const std::wstring open = kHttpsOpen;
  RegDeleteTreeW(HKEY_CLASSES_ROOT, open.c_str());
  WriteValue(open + L"\\command", nullptr, command_);
}

std::wstring MessageBoxText(HWND box) {
  wchar_t text[512] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 512);  // a message box's static text
  return text;
}

bool AnswersPostedMessages(HWND edit, DWORD timeout_ms) {
  // A posted message is handled only by a running message loop: its effect
  // proves the thread is not frozen. A sent one would not: a thread blocked
  // in SendMessage still answers those.
  DWORD start = 0;
  DWORD end = 0;
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                      reinterpret_cast<LPARAM>(&end), SMTO_ABORTIFHUNG, 200, &ignored);
  // Within the shortest text the list shows, so no text it may take meanwhile cuts it.
  const DWORD want_start = start == 1 ? 0 : 1;
  PostMessageW(edit, EM_SETSEL, want_start, 2);
  return WaitUntil(
      [&] {
        SendMessageTimeoutW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                            reinterpret_cast<LPARAM>(&end), SMTO_ABORTIFHUNG, 200, &ignored);
        return start == want_start && end == 2;
      },
      timeout_ms);
}

RecorderLog::RecorderLog() {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  path_ = std::wstring(folder) + UniqueName(L"recorder") + L".log";
  DeleteFileW(path_.c_str());
  SetEnvironmentVariableW(L"CORVANE_RECORDER_LOG", path_.c_str());
}

RecorderLog::~RecorderLog() { DeleteFileW(path_.c_str()); }

std::vector<std::string> RecorderLog::Lines() const {
  std::vector<std::string> lines;
  std::ifstream file{std::filesystem::path(path_)};
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> RecorderLog::WaitForLines(std::size_t count, DWORD timeout_ms) const {
  std::vector<std::string> lines;
  WaitUntil(
      [&] {
        lines = Lines();
        return lines.size() >= count;
      },
      timeout_ms);
  return lines;
}

}  // namespace corvane::testing
