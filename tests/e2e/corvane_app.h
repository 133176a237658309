#pragma once

// The real Corvane.exe in its own process, seen and driven from outside as
// a user would: windows found by class, real keyboard and mouse input.

#include <windows.h>

#include <string>
#include <vector>

#include "support/environment.h"
#include "support/input.h"
#include "support/processes.h"
#include "support/shell_handler.h"
#include "support/wait.h"

namespace corvane::testing {

class CorvaneApp {
 public:
  CorvaneApp();
  CorvaneApp(const CorvaneApp&) = delete;
  CorvaneApp& operator=(const CorvaneApp&) = delete;
  ~CorvaneApp();

  bool Started() const { return main_ != nullptr; }
  const ChildProcess& Process() const { return process_; }
  HWND Main() const { return main_; }
  HWND Combo() const { return combo_; }
  HWND ComboEdit() const { return FindWindowExW(combo_, nullptr, L"Edit", nullptr); }
  std::wstring ComboText() const;
  // Visible top-level windows of the process with this class.
  std::vector<HWND> Windows(const wchar_t* class_name) const;
  // Brings the main window to the front with the keyboard focus in the list.
  void Activate() const;
  // A point on the link label's caption, on screen, at the run's DPI.
  POINT OnLabel1() const;

 private:
  ChildProcess process_;
  HWND main_ = nullptr;
  HWND combo_ = nullptr;
};

POINT ClientToScreenPoint(HWND window, POINT client);
std::wstring WindowText(HWND window);

}  // namespace corvane::testing
