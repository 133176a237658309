#include "address_reader/address_reader.h"

#include <gtest/gtest.h>

#include <climits>
#include <new>

#include "fakes/fake_window_system.h"

namespace corvane::address_reader {
namespace {

using testing::FakeWindowSystem;

TEST(TrimAtNul, CutsAtTheFirstNulOnly) {
  EXPECT_EQ(TrimAtNul(u"abcdef"), u"abcdef");
  EXPECT_EQ(TrimAtNul(std::u16string(u"abc\0def", 7)), u"abc");
  EXPECT_EQ(TrimAtNul(std::u16string(u"\0abc", 4)), u"");
  EXPECT_EQ(TrimAtNul(std::u16string(u"a\0b\0c", 5)), u"a");
  EXPECT_EQ(TrimAtNul(u""), u"");
}

TEST(GetURL, ReadsTheAddressFieldOfTheBrowser) {
  FakeWindowSystem windows;
  // Chinese, a surrogate pair and the characters an ANSI code page would lose.
  const std::u16string address = u"http://例子.测试/路径?q=😀&x=é ü#片段";
  windows.AddBrowser(address);
  EXPECT_EQ(GetURL(windows), address);
}

TEST(GetURL, NoBrowserGivesTheEmptyText) {
  FakeWindowSystem windows;
  windows.AddTopLevel(u"Notepad");
  EXPECT_EQ(GetURL(windows), u"");
}

TEST(GetURL, AnyMissingStepOfTheChainGivesTheEmptyText) {
  for (std::size_t missing = 1; missing < kAddressBarPath.size(); ++missing) {
    SCOPED_TRACE(::testing::Message() << "without " << missing);
    FakeWindowSystem windows;
    auto window = windows.AddTopLevel(u"IEFrame");
    for (std::size_t step = 1; step < kAddressBarPath.size(); ++step) {
      if (step != missing) window = windows.AddChild(window, std::u16string(kAddressBarPath[step]));
    }
    windows.At(window).text = u"http://a.example/";
    EXPECT_EQ(GetURL(windows), u"");
  }
}

TEST(GetURL, OnlyTheFirstFrameInZOrderIsRead) {
  FakeWindowSystem windows;
  const auto first = windows.AddTopLevel(u"IEFrame");  // no address bar under it
  windows.AddBrowser(u"http://second.example/");
  EXPECT_EQ(GetURL(windows), u"");
  for (const auto examined : windows.Examined()) {
    EXPECT_TRUE(examined == first || windows.At(examined).parent == first)
        << "the second frame was examined: window " << examined;
  }
}

TEST(GetURL, TheFirstChildOfAClassIsTakenEvenWhenTheFieldIsUnderTheSecond) {
  FakeWindowSystem windows;
  const auto frame = windows.AddTopLevel(u"IEFrame");
  windows.AddChild(frame, u"WorkerW");  // empty decoy, first in Z order
  auto window = windows.AddChild(frame, u"WorkerW");
  for (const char16_t* name : {u"ReBarWindow32", u"ComboBoxEx32", u"ComboBox", u"Edit"}) {
    window = windows.AddChild(window, name);
  }
  windows.At(window).text = u"http://a.example/";
  EXPECT_EQ(GetURL(windows), u"");
}

TEST(GetURL, ClassNamesMustMatchWholeAndExactly) {
  for (const char16_t* near_miss : {u"ComboBoxEx32x", u"ComboBoxEx3", u"comboboxex32", u""}) {
    SCOPED_TRACE(::testing::Message()
                 << "near miss of length " << std::u16string_view(near_miss).size());
    FakeWindowSystem windows;
    const auto edit = windows.AddBrowser(u"http://a.example/");
    const auto combo_box_ex = windows.At(windows.At(edit).parent).parent;
    windows.At(combo_box_ex).class_name = near_miss;
    EXPECT_EQ(GetURL(windows), u"");
  }
}

TEST(FindChildByClass, SkipsOtherClassesAndIgnoresGrandchildren) {
  FakeWindowSystem windows;
  const auto parent = windows.AddTopLevel(u"P");
  const auto other = windows.AddChild(parent, u"Other");
  windows.AddChild(other, u"Edit");  // a grandchild is never taken
  const auto wanted = windows.AddChild(parent, u"Edit");
  windows.AddChild(parent, u"Edit");
  EXPECT_EQ(FindChildByClass(windows, parent, u"Edit"), wanted);
  EXPECT_EQ(FindChildByClass(windows, parent, u"Missing"), platform::kNoWindow);
  EXPECT_EQ(FindChildByClass(windows, platform::kNoWindow, u"Edit"), platform::kNoWindow);
}

TEST(ReadWindowText, EmptyFieldEmbeddedNulAndShortCopies) {
  FakeWindowSystem windows;
  const auto edit = windows.AddBrowser(u"");
  EXPECT_EQ(ReadWindowText(windows, edit), u"");

  windows.At(edit).text = std::u16string(u"abc\0def", 7);
  EXPECT_EQ(ReadWindowText(windows, edit), u"abc");

  // The window reports copying fewer characters than it claimed: keep what it says it copied.
  windows.At(edit).text = u"http://a.example/long";
  windows.At(edit).reported_copied = 8;
  EXPECT_EQ(ReadWindowText(windows, edit), u"http://a");

  // It reports more than the buffer holds: never read past the buffer.
  windows.At(edit).reported_copied = 1'000'000;
  EXPECT_EQ(ReadWindowText(windows, edit), u"http://a.example/long");

  windows.At(edit).reported_copied = -5;
  EXPECT_EQ(ReadWindowText(windows, edit), u"");
}

TEST(ReadWindowText, AWindowThatVanishesOrHangsGivesTheEmptyText) {
  FakeWindowSystem windows;
  const auto edit = windows.AddBrowser(u"http://a.example/");
  windows.At(edit).vanishes_after_length = true;
  EXPECT_EQ(ReadWindowText(windows, edit), u"");
  EXPECT_EQ(ReadWindowText(windows, edit), u"") << "already gone at the length";

  FakeWindowSystem hung_windows;
  const auto hung = hung_windows.AddBrowser(u"http://a.example/");
  hung_windows.At(hung).hung = true;
  EXPECT_EQ(GetURL(hung_windows), u"");
}

TEST(ReadWindowText, LengthsWeWillNotAllocateForGiveTheEmptyText) {
  for (const std::int64_t length :
       {std::int64_t{-1}, std::int64_t{INT_MIN}, std::int64_t{INT_MAX}, std::int64_t{INT_MAX} - 1,
        std::int64_t{LLONG_MAX}, kMaxAddressLength + 1}) {
    SCOPED_TRACE(::testing::Message() << "length " << length);
    FakeWindowSystem windows;
    const auto edit = windows.AddBrowser(u"http://a.example/");
    windows.At(edit).reported_length = length;
    EXPECT_EQ(GetURL(windows), u"");
  }
}

TEST(ReadWindowText, TheLongestAddressWeAcceptIsReadWhole) {
  FakeWindowSystem windows;
  const std::u16string address(static_cast<std::size_t>(kMaxAddressLength), u'a');
  windows.AddBrowser(address);
  EXPECT_EQ(GetURL(windows), address);
}

TEST(GetURL, NothingEscapesIt) {
  class ThrowingWindows final : public platform::WindowSystem {
   public:
    platform::WindowHandle FindTopLevelWindow(std::u16string_view /*unused*/) override {
      throw std::bad_alloc();
    }
    platform::WindowHandle FirstChild(platform::WindowHandle /*unused*/) override { return 0; }
    platform::WindowHandle NextSibling(platform::WindowHandle /*unused*/) override { return 0; }
    std::size_t ClassName(platform::WindowHandle /*unused*/,
                          std::span<char16_t> /*unused*/) override {
      return 0;
    }
    std::optional<std::int64_t> TextLength(platform::WindowHandle /*unused*/) override {
      return std::nullopt;
    }
    std::optional<std::int64_t> Text(platform::WindowHandle /*unused*/,
                                     std::span<char16_t> /*unused*/) override {
      return std::nullopt;
    }
  } windows;
  EXPECT_EQ(GetURL(windows), u"");
}

}  // namespace
}  // namespace corvane::address_reader
