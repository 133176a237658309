#pragma once

#include "platform/shell.h"
#include "platform/win32/ole_apartment.h"
#include "platform/win32/system_library.h"

namespace corvane::win32 {

class Win32Shell final : public platform::Shell {
 public:
  explicit Win32Shell(OleApartment& ole) : ole_(ole) {}

  bool Open(platform::WindowHandle owner, std::u16string_view address) override;

 private:
  // shell32 is large; it is loaded on the first request, not at start-up.
  OleApartment& ole_;
  SystemLibrary shell32_{L"shell32.dll"};
};

}  // namespace corvane::win32
