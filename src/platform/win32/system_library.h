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
  enum class Search {
    kWhereSupported,
    kFullPathOnly,  // as on Windows 7 without update KB2533623
  };

  explicit SystemLibrary(const wchar_t* name, Search search = Search::kWhereSupported)
      : name_(name), search_(search) {}

  // The exported function, or null when the DLL or the export is missing.
  template <typename Function>
  Function Get(const char* export_name) {
    if (!module_) module_ = Load();
    if (!module_) return nullptr;
    return ProcAddress<Function>(module_.get(), export_name);
  }

  HMODULE Module() const { return module_.get(); }

 private:
  ScopedModule Load() const {
    // LoadLibraryEx's documentation: LOAD_LIBRARY_SEARCH_SYSTEM32 is known
    // where AddDllDirectory is (Windows 8, and Windows 7 with KB2533623).
    const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    if (search_ == Search::kWhereSupported && kernel32 != nullptr &&
        GetProcAddress(kernel32, "AddDllDirectory") != nullptr) {
      return ScopedModule(LoadLibraryExW(name_, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    }
    // Else by its full path; LOAD_WITH_ALTERED_SEARCH_PATH makes the DLL's
    // own dependencies be looked up beside it, not in our folder first.
    std::wstring path(MAX_PATH, L'\0');
    const UINT length = GetSystemDirectoryW(path.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    path.resize(length);
    path += L'\\';
    path += name_;
    return ScopedModule(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  }

  const wchar_t* name_;
  Search search_;
  ScopedModule module_;
};

}  // namespace corvane::win32
