#pragma once

// Where the test programs are and what the run expects of the desktop.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/trace.h"

namespace corvane::testing {

// The folder of the running test program; the fixture, the recorder and
// Corvane.exe are built beside it.
std::wstring ModuleDir();

// The DPI this run of the tests expects the desktop to have (CORVANE_TEST_DPI, else 96).
int TestDpi();

std::string Utf8(std::wstring_view text);
std::string Utf8(std::u16string_view text);

// Visible top-level windows of the class, of one process or (with a
// process of 0) of one thread of this process.
std::vector<HWND> VisibleWindows(const wchar_t* class_name, DWORD process_id, DWORD thread_id = 0);

// A child window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND child);

// The failures traced while it lives, each a line as whoever debugs reads it.
class TraceRecorder {
 public:
  TraceRecorder() { Lines().clear(); }
  static std::vector<std::string>& Lines() {
    static std::vector<std::string> lines;
    return lines;
  }

 private:
  win32::ScopedTraceObserver observer_{[](const char* line) { Lines().emplace_back(line); }};
};

}  // namespace corvane::testing
