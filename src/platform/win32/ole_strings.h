#pragma once

#include <windows.h>

#include <memory>
#include <string_view>

#include "platform/win32/system_library.h"

namespace corvane::win32 {

// BSTRs through oleaut32, loaded from System32 on first use, so the
// executable imports nothing for them.
class OleStrings {
 public:
  using FreeFn = void(WINAPI*)(BSTR);
  using Owned = std::unique_ptr<OLECHAR, FreeFn>;

  // A BSTR for the caller to free, as an interface's out-parameter is; null
  // where oleaut32 cannot be had.
  BSTR Allocate(std::wstring_view text) {
    using AllocateFn = BSTR(WINAPI*)(const OLECHAR*, UINT);
    const auto allocate = oleaut32_.Get<AllocateFn>("SysAllocStringLen");
    return allocate == nullptr ? nullptr : allocate(text.data(), static_cast<UINT>(text.size()));
  }
  // A BSTR freed when it goes; null where oleaut32 cannot be had.
  Owned Make(std::wstring_view text) { return Take(Allocate(text)); }
  // `text`, which a call handed over to be freed, freed when it goes.
  Owned Take(BSTR text) {
    const auto free = oleaut32_.Get<FreeFn>("SysFreeString");
    return free == nullptr ? Owned(nullptr, nullptr) : Owned(text, free);
  }

 private:
  SystemLibrary oleaut32_{L"oleaut32.dll"};
};

}  // namespace corvane::win32
