// The window base every window is built on, and the traces of failures the
// user does not see.

#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "main_window/background_picture.h"
#include "platform/win32/trace.h"
#include "platform/win32/window_base.h"
#include "resource_ids.h"

namespace corvane {
namespace {

// Records the messages that reach it once its destruction has begun.
class LifetimeProbe final : public win32::BaseWindow<LifetimeProbe> {
 public:
  static constexpr const wchar_t* kClassName = L"CorvaneLifetimeProbe";
  struct Log {
    bool destroying = false;
    std::vector<UINT> late;
  };

  LifetimeProbe(win32::OpenWindows& open_windows, Log& log) : BaseWindow(open_windows), log_(log) {}
  LifetimeProbe(const LifetimeProbe&) = delete;
  LifetimeProbe& operator=(const LifetimeProbe&) = delete;
  LifetimeProbe(LifetimeProbe&&) = delete;
  LifetimeProbe& operator=(LifetimeProbe&&) = delete;
  ~LifetimeProbe() { log_.destroying = true; }

  bool Open() {
    return Create(GetModuleHandleW(nullptr), IDI_CORVANE, 0, L"probe", WS_OVERLAPPEDWINDOW, 0, 0,
                  100, 100);
  }
  void ApplyDpi(int /*dpi*/) {}
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (log_.destroying) log_.late.push_back(message);
    return DefWindowProcW(Hwnd(), message, wparam, lparam);
  }

 private:
  Log& log_;
};

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

std::vector<std::string>& Traced() {
  static std::vector<std::string> lines;
  return lines;
}

// A picture that cannot be had leaves the window blank: that is told.
TEST(Trace, ABlankPictureIsReported) {
  Traced().clear();
  win32::ObserverOfTraces() = [](const char* line) { Traced().emplace_back(line); };
  main_window::BackgroundPicture picture;
  constexpr int kNoSuchPicture = 4242;
  EXPECT_FALSE(picture.Load(GetModuleHandleW(nullptr), kNoSuchPicture, {100, 50}));
  EXPECT_TRUE(picture.Load(GetModuleHandleW(nullptr), IDR_BACKGROUND_JPEG, {100, 50}));
  win32::ObserverOfTraces() = nullptr;
  ASSERT_EQ(Traced().size(), 1U) << "one failure, one trace";
  EXPECT_NE(Traced().front().find("background_picture.cpp"), std::string::npos) << Traced().front();
}

}  // namespace
}  // namespace corvane
