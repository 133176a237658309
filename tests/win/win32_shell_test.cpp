// The Win32 shell and the translation launcher together: what reaches the
// handler registered for https is exactly the request, and only for addresses
// Windows' own parser and zones (urlmon) read as public: as Wine's
// dlls/urlmon/tests/uri.c and sec_mgr.c assert for Windows, or where Wine may
// read a host otherwise (shorthand and hex IPv4), alike under either reading.

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "fakes/fake_shell.h"
#include "fakes/fake_window_system.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_urls.h"
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
  win32::Win32Urls urls;
  win32::Win32Shell shell(ole);
  return translation::Combo1_Click(translation::kTranslationTargets[row], browser, urls, shell,
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

// What a pick does with each address, read by Windows' own parser and zones.
TEST(Win32Urls, PagesGoogleCannotFetchAreNotSentAndPublicOnesAre) {
  // A site in the Local intranet zone, listed as an administrator lists one.
  const std::wstring domain =
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains\\"
      L"contoso-hq.com";
  const DWORD intranet = 1;
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, (domain + L"\\portal").c_str(), L"https", REG_DWORD,
                            &intranet, sizeof(intranet)),
            ERROR_SUCCESS);
  win32::Win32Urls urls;
  const auto sent = [&](const char16_t* address) {
    testing::FakeWindowSystem windows;
    windows.AddBrowser(address);
    testing::FakeShell shell;
    return translation::Combo1_Click(translation::kTranslationTargets[0], windows, urls, shell,
                                     platform::kNoWindow) == translation::PickOutcome::kOpened;
  };
  // The last is no address to Windows at all.
  for (const char16_t* address :
       {u"http://192.168.1.1/cgi-bin/login?session=4f2a", u"http://127.1:8080/app",
        u"http://0x7f.0.0.1/", u"http://user@10.0.0.1/", u"http://wiki/", u"http://wiki./x",
        u"http://[fd12:3456:789a::1]/", u"http://[::ffff:192.168.1.1]/",
        u"https://portal.contoso-hq.com/", u"http://[1:2:3:4:5:6:7:192.0.1.0]/"}) {
    EXPECT_FALSE(sent(address)) << testing::Utf8(address);
  }
  for (const char16_t* address :
       {u"https://www.example.com/a?b=c", u"http://10.0.0.1.nip.io/", u"http://172.32.0.1/",
        u"http://[2001:4860:4860::8888]/", u"https://contoso-hq.com/"}) {
    EXPECT_TRUE(sent(address)) << testing::Utf8(address);
  }
  RegDeleteTreeW(HKEY_CURRENT_USER, domain.c_str());
}

}  // namespace
}  // namespace corvane
