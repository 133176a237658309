#include "address_reader/address_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <new>
#include <vector>

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

// Below IEFrame > WorkerW > ReBarWindow32, in each generation of the browser.
const std::vector<std::vector<std::u16string_view>> kFieldChains = {
    {u"ComboBoxEx32", u"ComboBox", u"Edit"},
    {u"Address Band Root", u"ComboBoxEx32", u"ComboBox", u"Edit"},
    {u"Address Band Root", u"Edit"}};

// GetURL of a browser whose frame has `path` below it, the last window holding an address.
std::u16string GetURLThrough(const std::vector<std::u16string_view>& path) {
  FakeWindowSystem windows;
  auto window = windows.AddTopLevel(u"IEFrame");
  for (const auto name : path) window = windows.AddChild(window, std::u16string(name));
  windows.At(window).text = u"http://a.example/";
  return GetURL(windows);
}

TEST(GetURL, EachGenerationsAddressFieldIsReadAndAnyMissingStepGivesTheEmptyText) {
  std::vector<std::vector<std::u16string_view>> paths;
  for (const auto& chain : kFieldChains) {
    paths.push_back({u"WorkerW", u"ReBarWindow32"});
    paths.back().insert(paths.back().end(), chain.begin(), chain.end());
  }
  for (const auto& path : paths) {
    SCOPED_TRACE(::testing::Message() << "chain of " << path.size() << " below the frame");
    EXPECT_EQ(GetURLThrough(path), u"http://a.example/");
    for (std::size_t missing = 0; missing < path.size(); ++missing) {
      SCOPED_TRACE(::testing::Message() << "without step " << missing);
      auto shorter = path;
      shorter.erase(shorter.begin() + static_cast<std::ptrdiff_t>(missing));
      // Version 7's chain without its root is version 6's.
      const bool still_a_chain = std::find(paths.begin(), paths.end(), shorter) != paths.end();
      EXPECT_EQ(GetURLThrough(shorter), still_a_chain ? u"http://a.example/" : u"");
    }
  }
}

TEST(GetURL, TheFirstChainThatExistsIsReadEvenWhenItsFieldIsEmpty) {
  {
    FakeWindowSystem windows;
    const auto version6 = windows.AddBrowser(u"");
    const auto band = windows.At(windows.At(windows.At(version6).parent).parent).parent;
    windows.At(windows.AddPath(band, {u"Address Band Root", u"Edit"})).text = u"http://b.example/";
    EXPECT_EQ(GetURL(windows), u"");
  }
  {
    FakeWindowSystem windows;
    const auto version8 = windows.AddBrowser(u"http://b.example/", {u"Address Band Root", u"Edit"});
    const auto root = windows.At(version8).parent;
    windows.AddPath(root, {u"ComboBoxEx32", u"ComboBox", u"Edit"});  // empty, and first
    EXPECT_EQ(GetURL(windows), u"") << "version 7's chain comes before version 8's";
  }
  {
    FakeWindowSystem windows;  // version 6's chain broken, version 8's whole
    const auto version6 = windows.AddBrowser(u"http://a.example/", {u"ComboBoxEx32", u"ComboBox"});
    const auto band = windows.At(windows.At(version6).parent).parent;
    windows.At(windows.AddPath(band, {u"Address Band Root", u"Edit"})).text = u"http://b.example/";
    EXPECT_EQ(GetURL(windows), u"http://b.example/");
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
