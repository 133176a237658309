// The Win32 shell and the translation launcher together: what reaches the
// handler registered for https is exactly the request.

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "fakes/fake_window_system.h"
#include "platform/win32/win32_shell.h"
#include "support/design.h"
#include "support/environment.h"
#include "support/shell_handler.h"
#include "translation/combo1_click.h"

namespace corvane {
namespace {

// Closes the message boxes this thread shows, from a thread of its own, and
// keeps their texts: the shell's error message is modal on the caller's thread.
class MessageBoxCloser {
 public:
  MessageBoxCloser() : watcher_([this] { Watch(); }) {}
  MessageBoxCloser(const MessageBoxCloser&) = delete;
  MessageBoxCloser& operator=(const MessageBoxCloser&) = delete;
  ~MessageBoxCloser() {
    stop_ = true;
    watcher_.join();
  }

  std::vector<std::wstring> Texts() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
  }

 private:
  void Watch() {
    while (!stop_) {
      for (HWND box : testing::VisibleWindows(L"#32770", 0, thread_id_)) {
        {
          const std::lock_guard<std::mutex> lock(mutex_);
          texts_.push_back(testing::MessageBoxText(box));
        }
        PostMessageW(box, WM_COMMAND, IDOK, 0);
      }
      Sleep(50);
    }
  }

  const DWORD thread_id_ = GetCurrentThreadId();
  std::atomic<bool> stop_ = false;
  std::mutex mutex_;
  std::vector<std::wstring> texts_;
  std::thread watcher_;
};

// A pick of `row` through the real shell, the browser showing `address`.
translation::PickOutcome Pick(std::size_t row, std::u16string_view address) {
  testing::FakeWindowSystem browser;
  browser.AddBrowser(std::u16string(address));
  win32::OleApartment ole;
  win32::Win32Shell shell(ole);
  return translation::Combo1_Click(translation::kTranslationTargets[row], browser, shell,
                                   platform::kNoWindow);
}

TEST(Win32Shell, Combo1ClickOpensExactlyTheRequestForEachRow) {
  const testing::RecorderLog log;
  EXPECT_EQ(Pick(0, design::kHostileAddress), translation::PickOutcome::kOpened);
  EXPECT_EQ(Pick(1, design::kHostileAddress), translation::PickOutcome::kOpened);
  const auto lines = log.WaitForLines(2, 15000);
  const std::string encoded(design::kHostileAddressEncoded);
  ASSERT_EQ(lines.size(), 2U);
  // The two recorders may finish in either order.
  EXPECT_TRUE(
      std::is_permutation(lines.begin(), lines.end(),
                          std::vector<std::string>{std::string(design::kRow1Prefix) + encoded,
                                                   std::string(design::kRow2Prefix) + encoded}
                              .begin()))
      << lines[0] << "\n"
      << lines[1];
}

TEST(Win32Shell, WithNoHandlerTheShellSaysSoAndThePickIsNoSuccess) {
  const testing::RecorderLog log;
  {
    const testing::HttpsHandlerSwap none(testing::HttpsHandler::kNone);
    MessageBoxCloser closer;
    EXPECT_EQ(Pick(0, u"http://a.example/"), translation::PickOutcome::kShellFailed);
    EXPECT_FALSE(closer.Texts().empty()) << "the shell did not tell the user";
  }
  EXPECT_EQ(Pick(0, u"http://a.example/"), translation::PickOutcome::kOpened)
      << "with the handler back, the same pick opens";
  EXPECT_EQ(log.WaitForLines(1, 15000).size(), 1U);
}

}  // namespace
}  // namespace corvane
