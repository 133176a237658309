#include "e2e/corvane_app.h"

#include "platform/twips.h"

namespace corvane::testing {

namespace {

constexpr DWORD kStartTimeoutMs = 20000;

}  // namespace

CorvaneApp::CorvaneApp() : process_(L"\"" + ModuleDir() + L"\\Corvane.exe\"") {
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
  struct Search {
    DWORD process;
    const wchar_t* class_name;
    std::vector<HWND> found;
  } search{process_.Id(), class_name, {}};
  EnumWindows(
      [](HWND window, LPARAM param) {
        auto& s = *reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (owner == s.process && std::wstring_view(name) == s.class_name &&
            IsWindowVisible(window)) {
          s.found.push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void CorvaneApp::Activate() const {
  SetForegroundWindow(main_);
  WaitUntil([this] { return GetForegroundWindow() == main_; }, 3000);
}

POINT CorvaneApp::OnLabel1() const {
  const int dpi = TestDpi();
  return ClientToScreenPoint(
      main_, {platform::TwipsToPixels(1800 + 300, dpi), platform::TwipsToPixels(840 + 90, dpi)});
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
