#pragma once

#include <windows.h>

#include "platform/win32/system_library.h"

namespace corvane::win32 {

// COM and OLE for the user-interface thread, set up on first need (the
// first request to the shell, the first browser control), so start-up does
// not load them; undone when this goes, at the end of the run.
class OleApartment {
 public:
  OleApartment() = default;
  OleApartment(const OleApartment&) = delete;
  OleApartment& operator=(const OleApartment&) = delete;
  ~OleApartment();

  // True once the thread is a single-threaded apartment with OLE on.
  bool Ensure();

 private:
  using CoInitializeExFn = HRESULT(WINAPI*)(void*, DWORD);
  using OleInitializeFn = HRESULT(WINAPI*)(void*);
  using UninitializeFn = void(WINAPI*)();

  SystemLibrary ole32_{L"ole32.dll"};
  bool tried_ = false;
  bool com_ = false;
  bool ole_ = false;
};

}  // namespace corvane::win32
