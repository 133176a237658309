#pragma once

// Helpers for the tests that run under Windows (or Wine): child processes,
// the browser fixture, the shell's recorder and waiting with messages pumped.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/scoped.h"

namespace corvane::testing {

// The folder of the running test program; the fixture, the recorder and
// Corvane.exe are built beside it.
std::wstring ModuleDir();

std::string Utf8(std::wstring_view text);

// The DPI this run of the tests expects the desktop to have (CORVANE_TEST_DPI, else 96).
int TestDpi();
std::string Utf8(std::u16string_view text);

// Waits for `condition`, pumping this thread's messages meanwhile.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms);

// Gives other processes time to do what they must not, pumping messages.
void Pause(DWORD ms);

// A promotion window as its load leaves it at the run's DPI: its outer size
// and its browser control's (at the client area's top-left), centred on the
// screen.
void ExpectPromotionWindowLoaded(HWND window, HWND control);

// Real input, as the user's devices give it.
void PressKey(WORD key);
// Holds `key` down for `repeats` key-downs, as the keyboard's auto-repeat gives them.
void HoldKey(WORD key, int repeats);
void TypeText(std::wstring_view text);
void MoveMouse(POINT screen);
void Click(POINT screen);

// A process of ours, ended on destruction if still running.
class ChildProcess {
 public:
  ChildProcess() = default;
  explicit ChildProcess(const std::wstring& command_line);
  ChildProcess(ChildProcess&&) = default;
  ChildProcess& operator=(ChildProcess&&) = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  bool Started() const { return static_cast<bool>(process_); }
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_.get(); }
  bool WaitForExit(DWORD timeout_ms) const;
  bool Running() const { return Started() && !WaitForExit(0); }

 private:
  win32::ScopedHandle process_;
  DWORD id_ = 0;
};

// The stand-in browser: an "IEFrame" in another process whose address bar
// shows `address`.
class BrowserFixture {
 public:
  struct Options {
    bool worker_w = true;
    bool hang = false;
    bool address_band_root = false;  // the field as versions 8 to 11 lay it out
  };

  explicit BrowserFixture(std::u16string_view address) : BrowserFixture(address, Options{}) {}
  BrowserFixture(std::u16string_view address, Options options);
  BrowserFixture(const BrowserFixture&) = delete;
  BrowserFixture& operator=(const BrowserFixture&) = delete;
  ~BrowserFixture();

  bool Ready() const { return ready_; }

 private:
  win32::ScopedHandle ready_event_;
  win32::ScopedHandle quit_event_;
  ChildProcess process_;
  bool ready_ = false;
};

// While it lives, the shell's https handler is another than the plain
// recorder: none at all, or the recorder reached through DDE and busy for
// `busy_ms` before it takes any message, as a browser of the old kind that is
// slow to start. Then the plain recorder again.
enum class HttpsHandler { kNone, kSlowDde };
class HttpsHandlerSwap {
 public:
  explicit HttpsHandlerSwap(HttpsHandler handler, DWORD busy_ms = 0);
  HttpsHandlerSwap(const HttpsHandlerSwap&) = delete;
  HttpsHandlerSwap& operator=(const HttpsHandlerSwap&) = delete;
  ~HttpsHandlerSwap();

 private:
  std::wstring command_;  // the handler before, put back at the end
};

// The text of a message box, such as the shell shows when it cannot open something.
std::wstring MessageBoxText(HWND box);

// Whether `window`'s thread handles a posted message within `timeout_ms`:
// an edit control's selection, posted, then read back.
bool AnswersPostedMessages(HWND edit, DWORD timeout_ms);

// What the shell was asked to open, as the test prefix's registered
// recorder saw it. Each log starts empty; the recorder finds it through the
// environment, which every process this one starts inherits.
class RecorderLog {
 public:
  RecorderLog();
  RecorderLog(const RecorderLog&) = delete;
  RecorderLog& operator=(const RecorderLog&) = delete;
  ~RecorderLog();

  std::vector<std::string> Lines() const;
  // The lines once there are at least `count` of them, or what there is at the timeout.
  std::vector<std::string> WaitForLines(std::size_t count, DWORD timeout_ms) const;

 private:
  std::wstring path_;
};

}  // namespace corvane::testing
