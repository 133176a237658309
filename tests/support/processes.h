#pragma once

// Programs the tests start: any process of ours, and the stand-in browser.

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/win32/scoped.h"

namespace corvane::testing {

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

// A name no other object of this run has.
std::wstring UniqueName(const wchar_t* what);

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

}  // namespace corvane::testing
