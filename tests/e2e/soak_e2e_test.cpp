// Many picks and many promotion windows in a row against the real
// Corvane.exe: every request arrives exactly once and in order, and the
// process does not grow. 1,000 picks and 100 windows take under a minute;
// CORVANE_SOAK_PICKS and CORVANE_SOAK_CYCLES set other counts.

#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "e2e/corvane_app.h"
#include "support/design.h"

namespace corvane::testing {
namespace {

constexpr std::u16string_view kAddress = u"https://a.example/soak?q=1&r=2#top";
constexpr std::string_view kEncodedAddress = "https%3A%2F%2Fa.example%2Fsoak%3Fq%3D1%26r%3D2%23top";
const std::string kRequests[] = {
    std::string(design::kRow1Prefix) + std::string(kEncodedAddress),
    std::string(design::kRow2Prefix) + std::string(kEncodedAddress),
};
const std::wstring kEntries[] = {{design::kRow1.begin(), design::kRow1.end()},
                                 {design::kRow2.begin(), design::kRow2.end()}};

int SoakCount(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value != nullptr ? static_cast<int>(std::strtol(value, nullptr, 10)) : fallback;
}

struct Footprint {
  DWORD gdi = 0;
  DWORD user = 0;
  DWORD handles = 0;
  SIZE_T private_bytes = 0;
};

Footprint Measure(HANDLE process) {
  Footprint footprint;
  footprint.gdi = GetGuiResources(process, GR_GDIOBJECTS);
  footprint.user = GetGuiResources(process, GR_USEROBJECTS);
  GetProcessHandleCount(process, &footprint.handles);
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof(counters))) {
    // The commit charge; under Wine, the anonymous resident memory.
    footprint.private_bytes = counters.PagefileUsage;
  }
  return footprint;
}

// Growth beyond a small fixed allowance fails. A kind of object this system
// does not count for another process (Wine counts neither handles nor GDI and
// USER objects) reads 0 and is left out here, and the footprint line
// printed shows it.
// `memory_allowance` nullopt: the caller judges memory itself.
::testing::AssertionResult NoGrowth(const Footprint& before, const Footprint& after,
                                    std::optional<SIZE_T> memory_allowance = SIZE_T{1} << 20) {
  std::printf(
      "footprint before/after: handles %lu/%lu, private %zu/%zu, GDI %lu/%lu, USER %lu/%lu\n",
      before.handles, after.handles, static_cast<std::size_t>(before.private_bytes),
      static_cast<std::size_t>(after.private_bytes), before.gdi, after.gdi, before.user,
      after.user);
  if (before.private_bytes == 0) {
    return ::testing::AssertionFailure() << "the process's memory could not be read";
  }
  if (memory_allowance && after.private_bytes > before.private_bytes + *memory_allowance) {
    return ::testing::AssertionFailure() << "private bytes grew";
  }
  if (before.handles > 0 && after.handles > before.handles + 8) {
    return ::testing::AssertionFailure() << "kernel handles grew";
  }
  if (before.gdi > 0 && after.gdi > before.gdi + 4) {
    return ::testing::AssertionFailure() << "GDI objects grew";
  }
  if (before.user > 0 && after.user > before.user + 4) {
    return ::testing::AssertionFailure() << "USER objects grew";
  }
  return ::testing::AssertionSuccess();
}

// The texts of the message boxes Corvane's process shows: the shell tells
// the user of a request it could not open in one, owned by Corvane.
std::vector<std::string> ShellMessages(const CorvaneApp& app) {
  std::vector<std::string> messages;
  for (HWND box : app.Windows(L"#32770")) messages.push_back(Utf8(MessageBoxText(box)));
  return messages;
}

TEST(Soak, PicksOpenEachRequestExactlyOnceAndNothingGrows) {
  const int picks = SoakCount("CORVANE_SOAK_PICKS", 1000);
  constexpr int kBlock = 10;  // picks in a row with, then without, a browser
  const RecorderLog log;
  const CorvaneApp app;
  ASSERT_TRUE(app.Started());
  app.Activate();
  std::optional<BrowserFixture> browser;
  std::vector<std::string> expected;
  int shell_failures = 0;
  Footprint before;

  for (int pick = 0; pick < picks; ++pick) {
    const bool with_browser = (pick / kBlock) % 2 == 0;
    if (pick % kBlock == 0) {
      if (with_browser) {
        browser.emplace(kAddress);
        ASSERT_TRUE(browser->Ready());
      } else {
        browser.reset();
      }
      app.Activate();
    }
    if (pick == 2 * kBlock) before = Measure(app.Process().Handle());  // after a warm-up
    // The keys go to the focused window: as a user would, come back to
    // Corvane when something else (the shell's handler) took the front.
    if (GetForegroundWindow() != app.Main()) app.Activate();
    // Alternate the rows: Down from the first entry (or from none), Up from the second.
    const auto current = SendMessageW(app.Combo(), CB_GETCURSEL, 0, 0);
    const int row = current == 0 ? 1 : 0;
    PressKey(current == 0 ? VK_DOWN : VK_UP);
    if (with_browser) {
      // Either the request arrives, or the shell says it could not open it.
      // Wine's shell now and then fails to start the handler (about once in
      // a few thousand picks); Corvane must then show it, never hide it.
      std::vector<std::string> messages;
      WaitUntil(
          [&] {
            messages = ShellMessages(app);
            return !messages.empty() || log.Lines().size() > expected.size();
          },
          15000);
      if (!messages.empty()) {
        std::printf("pick %d: the shell could not open the request and said \"%s\"\n", pick,
                    messages.front().c_str());
        ++shell_failures;
        EXPECT_EQ(app.ComboText(), kEntries[row])
            << "pick " << pick << ": a failed request must keep the pick";
        for (HWND box : app.Windows(L"#32770")) PostMessageW(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntil([&] { return app.Windows(L"#32770").empty(); }, 5000));
        continue;
      }
      expected.push_back(kRequests[row]);
      ASSERT_EQ(log.Lines().size(), expected.size())
          << "pick " << pick << " opened nothing and the shell said nothing; the list shows \""
          << Utf8(app.ComboText()) << "\", selection "
          << SendMessageW(app.Combo(), CB_GETCURSEL, 0, 0) << " (was " << current << "), Corvane "
          << (GetForegroundWindow() == app.Main() ? "is" : "is not") << " in front";
      ASSERT_TRUE(WaitUntil([&] { return Utf8(app.ComboText()) == Utf8(design::kPrompt); }, 5000))
          << "pick " << pick;
    } else {
      ASSERT_TRUE(WaitUntil([&] { return app.ComboText() == kEntries[row]; }, 5000))
          << "pick " << pick;
    }
  }
  browser.reset();
  Pause(1000);
  EXPECT_EQ(log.Lines(), expected) << "requests lost, doubled or out of order";
  // A rare failure of the shell is Wine's; more than one pick in a hundred is ours.
  EXPECT_LE(shell_failures * 100, picks) << shell_failures << " picks failed in the shell";
  if (picks > 2 * kBlock) {
    EXPECT_TRUE(NoGrowth(before, Measure(app.Process().Handle())));
  }
}

// Memory is judged in process, by what the heaps hold (the promotion
// tests): the whole process's memory, read from outside, steps by
// megabytes when Wine's allocator takes a block, at any cycle.
TEST(Soak, OpeningAndClosingThePromotionWindowDoesNotGrow) {
  const int cycles = SoakCount("CORVANE_SOAK_CYCLES", 100);
  const CorvaneApp app;
  ASSERT_TRUE(app.Started());
  const POINT label = app.OnLabel1();
  Footprint before;
  constexpr int kWarmUp = 2;
  for (int cycle = 0; cycle < cycles + kWarmUp; ++cycle) {
    if (cycle == kWarmUp) before = Measure(app.Process().Handle());
    app.Activate();
    Click(label);
    HWND promotion = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
          const auto windows = app.Windows(L"CorvaneForm2");
          promotion = windows.size() == 1 ? windows.front() : nullptr;
          return promotion != nullptr;
        },
        10000))
        << "cycle " << cycle << ": no promotion window";
    PostMessageW(promotion, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return app.Windows(L"CorvaneForm2").empty(); }, 5000));
  }
  EXPECT_TRUE(NoGrowth(before, Measure(app.Process().Handle()), /*memory_allowance=*/std::nullopt));
}

}  // namespace
}  // namespace corvane::testing
