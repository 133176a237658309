// The Win32 shell and the translation launcher together: what reaches the
// handler registered for https is exactly the request.

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/win32_shell.h"
#include "support/win_test_support.h"
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
      EnumThreadWindows(
          thread_id_,
          [](HWND window, LPARAM self) {
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (std::wstring_view(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
            auto& closer = *reinterpret_cast<MessageBoxCloser*>(self);
            {
              const std::lock_guard<std::mutex> lock(closer.mutex_);
              closer.texts_.push_back(testing::MessageBoxText(window));
            }
            PostMessageW(window, WM_COMMAND, IDOK, 0);
            return TRUE;
          },
          reinterpret_cast<LPARAM>(this));
      Sleep(50);
    }
  }

  const DWORD thread_id_ = GetCurrentThreadId();
  std::atomic<bool> stop_ = false;
  std::mutex mutex_;
  std::vector<std::wstring> texts_;
  std::thread watcher_;
};

class Host final : public translation::ChoiceListHost {
 public:
  std::u16string ListText() override { return text; }
  void SetListText(std::u16string_view new_text) override { text = new_text; }
  platform::WindowHandle OwnerWindow() override { return platform::kNoWindow; }
  std::u16string GetURL() override { return address; }

  std::u16string text;
  std::u16string address;
};

TEST(Win32Shell, Combo1ClickOpensExactlyTheRequestForEachRow) {
  const testing::RecorderLog log;
  win32::Win32Shell shell;
  Host host;
  host.address = u"http://例子.测试/a b?x=1&y=2%41#frag😀";
  host.text = u"自动检测语言＞中文(简)";
  translation::Combo1_Click(host, shell);
  EXPECT_EQ(host.text, u"请选择");
  host.text = u"自动检测语言＞中文(繁)";
  translation::Combo1_Click(host, shell);
  EXPECT_EQ(host.text, u"请选择");

  const auto lines = log.WaitForLines(2, 15000);
  const std::string encoded =
      "http%3A%2F%2F%E4%BE%8B%E5%AD%90.%E6%B5%8B%E8%AF%95%2Fa%20b%3Fx%3D1%26y%3D2%2541%23frag"
      "%F0%9F%98%80";
  ASSERT_EQ(lines.size(), 2U);
  // The two recorders may finish in either order.
  EXPECT_TRUE(std::is_permutation(
      lines.begin(), lines.end(),
      std::vector<std::string>{
          "https://translate.google.com/translate?hl=zh-CN&sl=auto&tl=zh-CN&u=" + encoded,
          "https://translate.google.com/translate?hl=zh-TW&sl=auto&tl=zh-TW&u=" + encoded}
          .begin()))
      << lines[0] << "\n"
      << lines[1];
}

TEST(Win32Shell, WithNoHandlerTheShellsFailureReachesTheListWhichKeepsThePick) {
  const testing::RecorderLog log;
  win32::Win32Shell shell;
  Host host;
  host.address = u"http://a.example/";
  host.text = u"自动检测语言＞中文(简)";
  {
    const testing::HttpsHandlerSwap none(testing::HttpsHandler::kNone);
    MessageBoxCloser closer;
    translation::Combo1_Click(host, shell);
    EXPECT_FALSE(closer.Texts().empty()) << "the shell did not tell the user";
  }
  EXPECT_EQ(host.text, u"自动检测语言＞中文(简)");
  translation::Combo1_Click(host, shell);
  EXPECT_EQ(host.text, u"请选择") << "with the handler back, the same pick opens";
  EXPECT_EQ(log.WaitForLines(1, 15000).size(), 1U);
}

}  // namespace
}  // namespace corvane
