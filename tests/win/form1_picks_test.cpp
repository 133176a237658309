// What counts as a pick and what comes of it, driven in this process with
// the messages the list gets from the keyboard and the mouse, as Wine's own
// combo box tests do, over a fake browser and a fake shell.

#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cwchar>
#include <string>
#include <vector>

#include "main_window/form1.h"
#include "platform/win32/handles.h"
#include "support/design.h"
#include "support/form_fixture.h"
#include "support/wait.h"

namespace corvane {
namespace {

using testing::WaitUntil;

class Form1Picks : public testing::FormFixture, public ::testing::Test {
 protected:
  Form1Picks() : FormFixture(win32::Dpi::Lookup::kNewerWhereAvailable) {}
  void SetUp() override { ASSERT_TRUE(form.Show(SW_SHOWNORMAL)); }
};

// What counts as a pick, driven with the messages the list gets from the
// keyboard and the mouse, as Wine's own combo box tests do.
TEST_F(Form1Picks, KeysThatMoveTheSelectionAndClicksInTheDroppedListArePicks) {
  browser.AddBrowser(std::u16string(design::kHostileAddress));
  const std::u16string row1 = Request(design::kRow1Prefix);
  const std::u16string row2 = Request(design::kRow2Prefix);
  EXPECT_EQ(ListText(), design::kInitialText);

  Key(VK_DOWN);
  EXPECT_EQ(Requests(), std::vector<std::u16string>({row1}));
  EXPECT_EQ(shell.opened.front().owner, win32::ToHandle(form.Hwnd()));
  EXPECT_EQ(ListText(), design::kPrompt);
  Key(VK_DOWN);
  EXPECT_EQ(Requests(), std::vector<std::u16string>({row1, row2}));
  // On the last row, a held key moves nothing: no pick, however often it repeats.
  Key(VK_DOWN);
  for (int repeat = 0; repeat < 20; ++repeat) Key(VK_DOWN, true);
  EXPECT_EQ(shell.opened.size(), 2U) << "a key that left the selection where it was picked";
  Key(VK_UP);
  EXPECT_EQ(Requests(), std::vector<std::u16string>({row1, row2, row1}));
  // A wheel notch on the closed list moves it on Windows (and in Wine's
  // combo box): no pick.
  SendMessageW(form.Combo1(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  Pump();
  EXPECT_EQ(shell.opened.size(), 3U) << "the wheel picked";

  // A click in the dropped list picks, the entry already selected too.
  ClickInDroppedList(1);
  ClickInDroppedList(1);
  EXPECT_EQ(Requests(), std::vector<std::u16string>({row1, row2, row1, row2, row2}));
  // Moving in the dropped list is no pick; Enter there is.
  SendMessageW(form.Combo1(), CB_SHOWDROPDOWN, TRUE, 0);
  Key(VK_UP);
  EXPECT_EQ(shell.opened.size(), 5U) << "a move in the dropped list picked";
  Key(VK_RETURN);
  EXPECT_EQ(Requests().back(), row1);
  EXPECT_EQ(ListText(), design::kPrompt);

  // Typing an entry's text is no pick.
  const HWND edit = GetWindow(form.Combo1(), GW_CHILD);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  for (const char16_t c : design::kRow2) SendMessageW(edit, WM_CHAR, c, 1);
  Pump();
  EXPECT_EQ(ListText(), design::kRow2);
  EXPECT_EQ(shell.opened.size(), 6U) << "typing an entry's text opened a request";
}

TEST_F(Form1Picks, APickThatOpensNothingKeepsTheEntryAndSaysWhyWithoutTakingTheFocus) {
  const HWND focus = GetFocus();
  Key(VK_DOWN);
  EXPECT_TRUE(shell.opened.empty());
  EXPECT_EQ(ListText(), design::kRow1);
  const HWND tip = form.Hint().Hwnd();
  ASSERT_NE(tip, nullptr) << "no hint";
  EXPECT_TRUE(IsWindowVisible(tip));
  wchar_t text[256] = {};
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = form.Hwnd();
  tool.uId = 1;
  tool.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(std::u16string(text, text + wcslen(text)), design::kHintNoBrowser);
  EXPECT_EQ(GetFocus(), focus) << "the hint took the focus";
  // Below the list, across its middle, never over it.
  RECT list{};
  GetWindowRect(form.Combo1(), &list);
  RECT balloon{};
  GetWindowRect(tip, &balloon);
  EXPECT_GE(balloon.top, list.bottom - 1) << "the hint covers the list";
  EXPECT_LT(balloon.left, (list.left + list.right) / 2);
  EXPECT_GT(balloon.right, (list.left + list.right) / 2);
  // It stays with its window: moved, the window takes it away.
  SetWindowPos(form.Hwnd(), nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_FALSE(IsWindowVisible(tip)) << "the hint stayed behind when its window moved";
  Key(VK_DOWN);
  ASSERT_TRUE(IsWindowVisible(tip));

  // A pick that opens hides it.
  browser.AddBrowser(u"http://a.example/");
  Key(VK_UP);
  EXPECT_EQ(shell.opened.size(), 1U);
  EXPECT_FALSE(IsWindowVisible(tip));
  // Where the shell could not open it, the list keeps the pick; the shell
  // has said why itself.
  shell.succeeds = false;
  Key(VK_DOWN);
  EXPECT_EQ(ListText(), design::kRow2);
  EXPECT_FALSE(IsWindowVisible(tip));
}

// The shell's DDE and COM calls run a modal loop in which the next pick can
// arrive: it must wait for the one inside the shell.
TEST_F(Form1Picks, APickArrivingWhileTheShellIsBusyIsTakenAfterTheOneBeforeIt) {
  browser.AddBrowser(std::u16string(design::kHostileAddress));
  shell.while_open = [this] {
    if (shell.opened.size() != 1) return;
    // The user picks twice more; the loop delivers both.
    Key(VK_DOWN);
    Key(VK_UP);
  };
  Key(VK_DOWN);
  EXPECT_EQ(shell.deepest, 1) << "a pick went to the shell inside another";
  EXPECT_EQ(Requests(),
            std::vector<std::u16string>({Request(design::kRow1Prefix), Request(design::kRow2Prefix),
                                         Request(design::kRow1Prefix)}))
      << "the waiting picks were not taken in the order they came";
  EXPECT_EQ(ListText(), design::kPrompt);
}

// The same loop can close the window: what waits goes with it.
TEST_F(Form1Picks, ClosedWhileTheShellIsBusyNothingMoreIsPicked) {
  browser.AddBrowser(std::u16string(design::kHostileAddress));
  shell.while_open = [this] {
    Key(VK_DOWN);  // waits behind the one with the shell
    SendMessageW(form.Hwnd(), WM_CLOSE, 0, 0);
  };
  Key(VK_DOWN);
  EXPECT_EQ(Requests(), std::vector<std::u16string>({Request(design::kRow1Prefix)}));
  EXPECT_EQ(form.Hwnd(), nullptr);
  EXPECT_EQ(form.Hint().Hwnd(), nullptr) << "a hint was made for a window that is gone";
  EXPECT_EQ(open_windows.Count(), 0);
}

// The hint goes by itself.
TEST_F(Form1Picks, TheHintGoesAwayByItself) {
  Key(VK_DOWN);
  ASSERT_TRUE(form.Hint().Visible());
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(form.Hint().Hwnd()); },
                        main_window::PickHint::kShowMs + 2000));
}

}  // namespace
}  // namespace corvane
