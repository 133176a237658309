#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/scoped.h"

namespace corvane::win32 {

// An exported function of `module` as its real type, or null where the
// module lacks it (an older Windows).
template <typename Function>
Function ProcAddress(HMODULE module, const char* export_name) {
  // GetProcAddress erases the type; the caller names it.
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, export_name)));
}

// A DLL of Windows' own, loaded from System32 only when first needed, so it
// costs nothing at start-up and no DLL planted beside the executable is used.
class SystemLibrary {
 public:
  explicit SystemLibrary(const wchar_t* name) : name_(name) {}

  // The exported function, or null when the DLL or the export is missing.
  template <typename Function>
  Function Get(const char* export_name) {
    if (!module_) module_ = Load(name_);
    if (!module_) return nullptr;
    return ProcAddress<Function>(module_.get(), export_name);
  }

  HMODULE Module() const { return module_.get(); }

 private:
  static ScopedModule Load(const wchar_t* name) {
    ScopedModule module(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    // Windows 7 without KB2533623 does not know the search flag: name the
    // System32 path instead.
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
      std::wstring path(MAX_PATH, L'\0');
      const UINT length = GetSystemDirectoryW(path.data(), MAX_PATH);
      if (length == 0 || length >= MAX_PATH) return module;
      path.resize(length);
      path += L'\\';
      path += name;
      module.reset(LoadLibraryExW(path.c_str(), nullptr, 0));
    }
    return module;
  }

  const wchar_t* name_;
  ScopedModule module_;
};

}  // namespace corvane::win32
