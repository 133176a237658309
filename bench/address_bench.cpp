// GetURL against a browser fixture in another process, next to the floor:
// the same Win32 calls made inline, with no interface in between. Batches of
// each alternate, so both see the same machine.

#include <windows.h>

#include <cstdio>
#include <string>

#include "address_reader/address_reader.h"
#include "bench/bench_stats.h"
#include "platform/win32/win32_window_system.h"
#include "support/processes.h"
#include "support/environment.h"

namespace {

HWND FirstChildOfClass(HWND parent, const wchar_t* name) {
  wchar_t buffer[260];
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    const int length = GetClassNameW(child, buffer, 260);
    if (std::wstring_view(buffer, static_cast<std::size_t>(length > 0 ? length : 0)) == name) {
      return child;
    }
  }
  return nullptr;
}

std::wstring FloorGetURL() {
  HWND window = FindWindowW(L"IEFrame", nullptr);
  for (const wchar_t* name :
       {L"WorkerW", L"ReBarWindow32", L"ComboBoxEx32", L"ComboBox", L"Edit"}) {
    if (window == nullptr) return {};
    window = FirstChildOfClass(window, name);
  }
  if (window == nullptr) return {};
  DWORD_PTR length = 0;
  if (SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &length) == 0) {
    return {};
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                          SMTO_ABORTIFHUNG, 1000, &copied) == 0) {
    return {};
  }
  text.resize(copied);
  return text;
}

}  // namespace

int main() {
  using corvane::bench::NowMicroseconds;
  const std::u16string address = u"https://例子.测试/path?q=1&r=2#fragment";
  const corvane::testing::BrowserFixture browser(address);
  if (!browser.Ready()) {
    std::puts("address read: the browser fixture did not start");
    return 1;
  }
  corvane::win32::Win32WindowSystem windows;
  if (corvane::address_reader::GetURL(windows) != address ||
      FloorGetURL() != std::wstring(address.begin(), address.end())) {
    std::puts("address read: the two readers disagree with the fixture");
    return 1;
  }
  constexpr int kRounds = 41;
  constexpr int kBatch = 200;
  std::vector<double> ours;
  std::vector<double> floor;
  for (int round = 0; round < kRounds; ++round) {
    for (int side = 0; side < 2; ++side) {
      const bool ours_now = (side == 0) == (round % 2 == 0);
      const double start = NowMicroseconds();
      for (int i = 0; i < kBatch; ++i) {
        if (ours_now) {
          (void)corvane::address_reader::GetURL(windows);
        } else {
          (void)FloorGetURL();
        }
      }
      (ours_now ? ours : floor).push_back((NowMicroseconds() - start) / kBatch);
    }
  }
  corvane::bench::Report("address read (per call)", "us", corvane::bench::Median(ours),
                         corvane::bench::Median(floor), 1.10);
  return 0;
}
