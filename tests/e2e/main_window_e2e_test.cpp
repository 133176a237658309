// Corvane.exe as a user meets it: started for real, driven with real
// keyboard and mouse input, its requests seen by the shell's recorder.

#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <fstream>
#include <filesystem>

#include "e2e/corvane_app.h"
#include "platform/win32/ole_apartment.h"
#include "platform/win32/scoped.h"
#include "resource_ids.h"
#include "support/design.h"

namespace corvane::testing {
namespace {

using design::Pixels;

const std::string kRow1Request =
    std::string(design::kRow1Prefix) + std::string(design::kHostileAddressEncoded);
const std::wstring kRow1(design::kRow1.begin(), design::kRow1.end());
const std::wstring kPrompt(design::kPrompt.begin(), design::kPrompt.end());
// How long a pick is given to open something that must not be opened.
constexpr DWORD kQuietMs = 2500;

std::wstring ItemText(HWND combo, int index) {
  wchar_t text[256] = {};
  const auto length =
      SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  return length < 0 ? L"(error)" : std::wstring(text, static_cast<std::size_t>(length));
}

// The real program starts with its window, texts and focus; its layout at
// each DPI is checked in process (Form1Layout), with the same manifest.
TEST(StartUp, TheMainWindowOpensAsDesignedAtTheDesktopDpi) {
  const CorvaneApp app;
  ASSERT_TRUE(app.Started());
  EXPECT_EQ(Utf8(WindowText(app.Main())), Utf8(design::kCaption));
  EXPECT_EQ(Utf8(app.ComboText()), Utf8(design::kInitialText));
  ASSERT_EQ(SendMessageW(app.Combo(), CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(Utf8(ItemText(app.Combo(), 0)), Utf8(design::kRow1));
  EXPECT_EQ(Utf8(ItemText(app.Combo(), 1)), Utf8(design::kRow2));

  GUITHREADINFO gui{};
  gui.cbSize = sizeof(gui);
  ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(app.Main(), nullptr), &gui));
  EXPECT_EQ(gui.hwndFocus, app.ComboEdit()) << "the list has the keyboard focus";
}

class PickTest : public ::testing::Test {
 protected:
  RecorderLog log;
};

// A real key in the real process, the address read from a browser in
// another: the request reaches the handler the shell starts, once.
TEST_F(PickTest, ADownKeyTranslatesThePageOnceAndResetsTheList) {
  const BrowserFixture browser(design::kHostileAddress);
  ASSERT_TRUE(browser.Ready());
  const CorvaneApp app;
  ASSERT_TRUE(app.Started());
  app.Activate();
  PressKey(VK_DOWN);
  const auto lines = log.WaitForLines(1, 15000);
  ASSERT_EQ(lines.size(), 1U);
  EXPECT_EQ(lines[0], kRow1Request);
  EXPECT_TRUE(WaitUntil([&] { return app.ComboText() == kPrompt; }, 5000)) << Utf8(app.ComboText());
  Pause(kQuietMs);
  EXPECT_EQ(log.Lines().size(), 1U) << "one request for each pick, none doubled";
  EXPECT_EQ(app.ComboText(), kPrompt) << "the combo box must not write the entry back";
}

TEST_F(PickTest, AHungBrowserNeitherFreezesTheWindowNorOpensAnythingAndSaysSo) {
  const BrowserFixture browser(design::kHostileAddress, {.hang = true});
  ASSERT_TRUE(browser.Ready());
  const CorvaneApp app;
  ASSERT_TRUE(app.Started());
  app.Activate();
  PressKey(VK_DOWN);
  Pause(200);
  EXPECT_TRUE(AnswersPostedMessages(app.ComboEdit(), 3000)) << "the window stopped answering";
  EXPECT_TRUE(WaitUntil([&] { return !app.Windows(TOOLTIPS_CLASSW).empty(); }, 3000))
      << "no hint that the browser did not answer";
  Pause(kQuietMs);
  EXPECT_TRUE(log.Lines().empty());
  EXPECT_EQ(app.ComboText(), kRow1);
}

// The shell reaches a handler registered through DDE only once it is ready,
// and says so: the request arrives and the list shows the prompt. While the
// handler starts, the window waits for the shell; the time is printed for the
// bench.
TEST_F(PickTest, AHandlerReachedThroughDdeGetsTheRequest) {
  constexpr DWORD kBusyMs = 5000;
  const HttpsHandlerSwap handler(HttpsHandler::kSlowDde, kBusyMs);
  const BrowserFixture browser(design::kHostileAddress);
  ASSERT_TRUE(browser.Ready());
  const CorvaneApp app;
  ASSERT_TRUE(app.Started());
  app.Activate();
  PressKey(VK_DOWN);
  Pause(300);  // the request is with the shell now
  const ULONGLONG start = GetTickCount64();
  AnswersPostedMessages(app.ComboEdit(), 3 * kBusyMs);
  std::printf("figure: a pick held the window %llu ms while its handler was busy %lu ms\n",
              GetTickCount64() - start + 300, kBusyMs);
  const auto lines = log.WaitForLines(1, 15000);
  ASSERT_EQ(lines.size(), 1U) << "the handler got no request";
  EXPECT_EQ(lines[0], kRow1Request);
  EXPECT_TRUE(WaitUntil([&] { return app.ComboText() == kPrompt; }, 5000)) << Utf8(app.ComboText());
}

// Lets `draw` paint a 32-bit bitmap of `size` and returns its pixels in
// `part`, as 0x00RRGGBB.
std::vector<std::uint32_t> Render(SIZE size, const RECT& part,
                                  const std::function<void(HDC)>& draw) {
  const int width = part.right - part.left;
  const int height = part.bottom - part.top;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const win32::ScopedBitmap bitmap(
      CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const win32::ScopedMemoryDc memory(CreateCompatibleDC(nullptr));
  if (!bitmap || !memory) return pixels;
  HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
  draw(memory.get());
  GdiFlush();
  const auto* all = static_cast<const std::uint32_t*>(bits);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      pixels[static_cast<std::size_t>(y) * width + x] =
          all[static_cast<std::size_t>(y + part.top) * size.cx + x + part.left] & 0x00FFFFFF;
    }
  }
  SelectObject(memory.get(), old);
  return pixels;
}

// The screen's pixels in `rect`.
std::vector<std::uint32_t> CaptureScreen(const RECT& rect) {
  const SIZE size{rect.right - rect.left, rect.bottom - rect.top};
  return Render(size, {0, 0, size.cx, size.cy}, [&](HDC memory) {
    HDC screen = GetDC(nullptr);
    BitBlt(memory, 0, 0, size.cx, size.cy, screen, rect.left, rect.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
  });
}

// The picture's pixels in `rect` as another decoder made them: the test
// command has ImageMagick write the JPEG's top-left corner as a binary PPM
// and names it in CORVANE_PICTURE_REFERENCE. Empty when there is none.
std::vector<std::uint32_t> ReferencePictureAt(const RECT& rect) {
  const char* path = std::getenv("CORVANE_PICTURE_REFERENCE");
  if (path == nullptr) return {};
  std::ifstream file(path, std::ios::binary);
  std::string magic;
  int width = 0;
  int height = 0;
  int maximum = 0;
  file >> magic >> width >> height >> maximum;
  file.get();  // the one white-space character before the pixels
  if (magic != "P6" || maximum != 255 || rect.right > width || rect.bottom > height) return {};
  std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
  file.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
  if (!file) return {};
  std::vector<std::uint32_t> pixels;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) {
      const unsigned char* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
      pixels.push_back((std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2]);
    }
  }
  return pixels;
}

// Two decoders of one JPEG may round a little differently.
bool NearlyEqual(std::uint32_t a, std::uint32_t b) {
  for (int shift : {0, 8, 16}) {
    const int difference =
        static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (difference > 8 || difference < -8) return false;
  }
  return true;
}

// A screen reader asks from its own process: the object is marshalled, the
// link's name arrives as a string of that process, and its default action
// takes effect in Corvane's.
TEST(Label, AScreenReaderInAnotherProcessFindsTheLinkAndActivatesIt) {
  const CorvaneApp app;
  ASSERT_TRUE(app.Started());
  if (GetEnvironmentVariableW(L"CORVANE_EXE", nullptr, 0) > 0) {
    BOOL ours = FALSE;
    BOOL its = FALSE;
    IsWow64Process(GetCurrentProcess(), &ours);
    IsWow64Process(app.Process().Handle(), &its);
    ASSERT_NE(ours, its) << "asked to read across bitness, but Corvane is of the tests' own";
  }
  win32::OleApartment ole;
  ASSERT_TRUE(ole.Ensure());
  win32::ComPtr<IAccessible> client;
  ASSERT_HRESULT_SUCCEEDED(AccessibleObjectFromWindow(
      app.Main(), OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(client.put())));
  long count = 0;
  ASSERT_HRESULT_SUCCEEDED(client->get_accChildCount(&count));
  ASSERT_EQ(count, 2) << "the list and the link";
  VARIANT link{};
  link.vt = VT_I4;
  link.lVal = 2;
  BSTR name = nullptr;
  ASSERT_HRESULT_SUCCEEDED(client->get_accName(link, &name));
  const win32::ScopedBstr owned(name);
  EXPECT_EQ(Utf8(std::wstring(name, SysStringLen(name))), Utf8(design::kLabel1Caption));
  ASSERT_HRESULT_SUCCEEDED(client->accDoDefaultAction(link));
  EXPECT_TRUE(WaitUntil([&] { return app.Windows(L"CorvaneForm2").size() == 1; }, 10000))
      << "the link's default action opened no promotion window";
}

TEST(Label, ThePictureShowsBetweenTheLabelsLetters) {
  const CorvaneApp app;
  ASSERT_TRUE(app.Started());
  app.Activate();
  MoveMouse({1000, 700});  // keep the pointer out of the picture
  Pause(500);
  const int dpi = TestDpi();
  const RECT label_client{Pixels(design::kLabel1.left, dpi), Pixels(design::kLabel1.top, dpi),
                          Pixels(design::kLabel1.left + 1600, dpi),
                          Pixels(design::kLabel1.top + design::kLabel1.height, dpi)};
  const POINT origin = ClientToScreenPoint(app.Main(), {0, 0});
  const RECT label_screen{origin.x + label_client.left, origin.y + label_client.top,
                          origin.x + label_client.right, origin.y + label_client.bottom};
  const auto shown = CaptureScreen(label_screen);
  const auto picture = ReferencePictureAt(label_client);
  ASSERT_EQ(shown.size(), picture.size()) << "no reference picture: run the tests through "
                                             "scripts/test.sh";
  std::size_t same = 0;
  std::size_t dark = 0;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    if (NearlyEqual(shown[i], picture[i]) && picture[i] != 0x00FFFFFF) ++same;
    const auto r = (shown[i] >> 16) & 0xFF, g = (shown[i] >> 8) & 0xFF, b = shown[i] & 0xFF;
    if (r < 90 && g < 90 && b < 90) ++dark;
  }
  EXPECT_GT(same * 2, shown.size())
      << same << " of " << shown.size() << " pixels show the picture between the letters";
  EXPECT_GT(dark, 20U) << "the caption was not drawn";
}

}  // namespace
}  // namespace corvane::testing
