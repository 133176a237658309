#pragma once

#include <windows.h>

#include "platform/win32/scoped.h"

namespace corvane::win32 {

// A DLL of Windows' own, loaded from System32 only when first needed, so it
// costs nothing at start-up and no DLL planted beside the executable is used.
class SystemLibrary {
 public:
  explicit SystemLibrary(const wchar_t* name) : name_(name) {}

  // The exported function, or null when the DLL or the export is missing.
  template <typename Function>
  Function Get(const char* export_name) {
    if (!module_) module_.reset(LoadLibraryExW(name_, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!module_) return nullptr;
    return reinterpret_cast<Function>(  // NOLINT: GetProcAddress erases the type
        reinterpret_cast<void*>(GetProcAddress(module_.get(), export_name)));  // NOLINT
  }

  HMODULE Module() const { return module_.get(); }

 private:
  const wchar_t* name_;
  ScopedModule module_;
};

}  // namespace corvane::win32
