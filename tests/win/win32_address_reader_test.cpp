// The Win32 window system against a browser fixture in another process.

#include <gtest/gtest.h>

#include "address_reader/address_reader.h"
#include "platform/win32/win32_window_system.h"
#include "support/processes.h"

namespace corvane {
namespace {

using testing::BrowserFixture;

TEST(Win32GetURL, ReadsTheFixturesAddressExactlyAcrossProcesses) {
  // Chinese, a surrogate pair and characters no ANSI code page holds together.
  const std::u16string address = u"http://例子.测试/a b?x=1&y=2%41#frag😀 ĳ Ω ü";
  const BrowserFixture browser(address);
  ASSERT_TRUE(browser.Ready());
  win32::Win32WindowSystem windows;
  EXPECT_EQ(address_reader::GetURL(windows), address);
}

TEST(Win32GetURL, NoBrowserAndMissingWorkerWGiveTheEmptyText) {
  win32::Win32WindowSystem windows;
  EXPECT_EQ(address_reader::GetURL(windows), u"");
  const BrowserFixture browser(u"http://a.example/", {.worker_w = false});
  ASSERT_TRUE(browser.Ready());
  EXPECT_EQ(address_reader::GetURL(windows), u"");
}

TEST(Win32GetURL, AnEmptyAddressFieldGivesTheEmptyText) {
  const BrowserFixture browser(u"");
  ASSERT_TRUE(browser.Ready());
  win32::Win32WindowSystem windows;
  EXPECT_EQ(address_reader::GetURL(windows), u"");
}

TEST(Win32GetURL, AHungBrowserGivesTheEmptyTextWithinTheBound) {
  const BrowserFixture browser(u"http://hung.example/", {.hang = true});
  ASSERT_TRUE(browser.Ready());
  win32::Win32WindowSystem windows;
  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(address_reader::GetURL(windows), u"");
  const ULONGLONG elapsed = GetTickCount64() - start;
  EXPECT_LE(elapsed, 2500U) << "a hung browser held the reader for " << elapsed << " ms";
}

}  // namespace
}  // namespace corvane
