// The Win32 room's own parts: the window base every window is built on, what
// is told when a window cannot be made, Windows' DLLs loaded from System32,
// and a call waited for with a bound.

#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <cwchar>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/bounded_call.h"
#include "platform/win32/ole_apartment.h"
#include "platform/win32/system_library.h"
#include "platform/win32/window_base.h"
#include "promotion/web_browser_host.h"
#include "resource_ids.h"
#include "support/environment.h"

namespace corvane {
namespace {

// Records the messages that reach it once its destruction has begun.
class LifetimeProbe final : public win32::BaseWindow<LifetimeProbe> {
 public:
  static constexpr const wchar_t* kClassName = L"CorvaneLifetimeProbe";
  struct Log {
    bool destroying = false;
    std::vector<UINT> late;
    bool refuse_create = false;  // its WM_CREATE says no
  };

  LifetimeProbe(win32::OpenWindows& open_windows, Log& log) : BaseWindow(open_windows), log_(log) {}
  LifetimeProbe(const LifetimeProbe&) = delete;
  LifetimeProbe& operator=(const LifetimeProbe&) = delete;
  LifetimeProbe(LifetimeProbe&&) = delete;
  LifetimeProbe& operator=(LifetimeProbe&&) = delete;
  ~LifetimeProbe() { log_.destroying = true; }

  bool Open(HINSTANCE instance = GetModuleHandleW(nullptr)) {
    return Create(instance, IDI_CORVANE, 0, L"probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100);
  }
  void ApplyDpi(int /*dpi*/) {}
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (log_.destroying) log_.late.push_back(message);
    if (message == WM_CREATE && log_.refuse_create) return -1;
    return DefWindowProcW(Hwnd(), message, wparam, lparam);
  }

 private:
  Log& log_;
};

// A window or a control that cannot be made is told where it failed, and
// its maker answers false.
TEST(BaseWindow, AWindowOrControlThatCannotBeMadeIsTracedAndRefused) {
  const testing::TraceRecorder traced;
  win32::OpenWindows open_windows;
  LifetimeProbe::Log log;
  LifetimeProbe probe(open_windows, log);
  // Wine's class.c, as Windows does: "registering for user32 always fails".
  EXPECT_FALSE(probe.Open(GetModuleHandleW(L"user32.dll"))) << "a class not registered";
  log.refuse_create = true;
  EXPECT_FALSE(probe.Open()) << "a window its WM_CREATE refused";
  HWND gone = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  win32::OleApartment ole;
  promotion::WebBrowserHost control(ole);
  EXPECT_FALSE(control.Create(gone, 1)) << "a control whose parent is gone";
  const char* const places[] = {"window_base.h", "window_base.h", "web_browser_host.cpp"};
  ASSERT_EQ(traced.Lines().size(), std::size(places)) << "one failure, one trace";
  for (std::size_t i = 0; i < std::size(places); ++i) {
    EXPECT_NE(traced.Lines()[i].find(places[i]), std::string::npos) << traced.Lines()[i];
  }
}

TEST(BaseWindow, AnObjectDestroyedWhileItsWindowIsOpenGetsNoMessageAfterwards) {
  win32::OpenWindows open_windows;
  LifetimeProbe::Log log;
  HWND window = nullptr;
  {
    LifetimeProbe probe(open_windows, log);
    ASSERT_TRUE(probe.Open());
    window = probe.Hwnd();
    EXPECT_EQ(open_windows.Count(), 1);
  }
  EXPECT_TRUE(log.late.empty()) << log.late.size()
                                << " messages reached the object after its destruction began, "
                                   "the first 0x"
                                << std::hex << (log.late.empty() ? 0 : log.late.front());
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(open_windows.Count(), 0);
}

// Wine knows the System32 search flag, so only this seam takes the other way.
// Wine also finds atl.dll's own dependencies without
// LOAD_WITH_ALTERED_SEARCH_PATH, so only Windows 7 without KB2533623 shows
// what that flag does; no test here can.
TEST(SystemLibrary, LoadsFromSystem32ByFullPathAsOnWindows7WithoutTheUpdate) {
  win32::SystemLibrary atl(L"atl.dll", win32::SystemLibrary::Search::kFullPathOnly);
  EXPECT_NE(atl.Get<FARPROC>("AtlAxWinInit"), nullptr);
  wchar_t loaded[MAX_PATH] = {};
  GetModuleFileNameW(atl.Module(), loaded, MAX_PATH);
  wchar_t expected[MAX_PATH] = {};
  GetSystemDirectoryW(expected, MAX_PATH);
  wcscat(expected, L"\\atl.dll");
  EXPECT_EQ(_wcsicmp(loaded, expected), 0) << testing::Utf8(std::wstring(loaded));
}

// The wait for an answer ends in time, and meanwhile the thread answers
// what other threads send its windows.
TEST(CallWithin, GivesUpInTimeAndAnswersSentMessagesWhileItWaits) {
  const HWND window =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  std::atomic<bool> answered = false;
  std::thread asker([&] {
    Sleep(100);
    DWORD_PTR result = 0;
    answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result) != 0;
  });
  const testing::TraceRecorder traces;
  const ULONGLONG start = GetTickCount64();
  const auto slow = [] {
    Sleep(5000);
    return 1;
  };
  EXPECT_EQ(win32::CallWithin<int>(400, slow), std::nullopt);
  const ULONGLONG waited = GetTickCount64() - start;
  asker.join();
  DestroyWindow(window);
  EXPECT_LT(waited, 2500U) << "the call was waited for, not the bound";
  EXPECT_TRUE(answered) << "a message sent while it waited was not answered";
  EXPECT_EQ(testing::TraceRecorder::Lines().size(), 1U) << "giving up was not traced";
}

}  // namespace
}  // namespace corvane
