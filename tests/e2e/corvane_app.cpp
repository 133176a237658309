#include "e2e/corvane_app.h"

#include "support/design.h"

namespace corvane::testing {

namespace {

constexpr DWORD kStartTimeoutMs = 20000;

// The Corvane.exe beside the tests, or the one CORVANE_EXE names (another
// build's, read across bitness).
std::wstring CorvaneExe() {
  wchar_t named[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(L"CORVANE_EXE", named, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return named;
  return ModuleDir() + L"\\Corvane.exe";
}

}  // namespace

CorvaneApp::CorvaneApp() : process_(L"\"" + CorvaneExe() + L"\"") {
  if (!process_.Started()) return;
  WaitForInputIdle(process_.Handle(), kStartTimeoutMs);
  WaitUntil(
      [this] {
        const auto found = Windows(L"CorvaneForm1");
        main_ = found.empty() ? nullptr : found.front();
        return main_ != nullptr;
      },
      kStartTimeoutMs);
  if (main_ != nullptr) combo_ = FindWindowExW(main_, nullptr, L"ComboBox", nullptr);
}

CorvaneApp::~CorvaneApp() {
  if (!process_.Running()) return;
  for (const wchar_t* name : {L"CorvaneForm2", L"CorvaneForm1"}) {
    for (HWND window : Windows(name)) PostMessageW(window, WM_CLOSE, 0, 0);
  }
  process_.WaitForExit(5000);  // what is still running then is ended by ChildProcess
}

std::wstring CorvaneApp::ComboText() const { return WindowText(combo_); }

std::vector<HWND> CorvaneApp::Windows(const wchar_t* class_name) const {
  return VisibleWindows(class_name, process_.Id());
}

void CorvaneApp::Activate() const {
  SetForegroundWindow(main_);
  WaitUntil([this] { return GetForegroundWindow() == main_; }, 3000);
}

POINT CorvaneApp::OnLabel1() const {
  const int dpi = TestDpi();
  return ClientToScreenPoint(main_, {design::Pixels(design::kLabel1.left + 300, dpi),
                                     design::Pixels(design::kLabel1.top + 90, dpi)});
}

std::wstring WindowText(HWND window) {
  wchar_t text[512] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      5000, &copied);
  return std::wstring(text, copied);
}

POINT ClientToScreenPoint(HWND window, POINT client) {
  ClientToScreen(window, &client);
  return client;
}

}  // namespace corvane::testing
