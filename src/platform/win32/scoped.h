#pragma once

// Move-only owners for Win32 handles and COM interfaces: a copy would close
// or release twice.

#include <windows.h>

#include <unknwn.h>

#include <utility>

namespace corvane::win32 {

template <typename Handle, typename Close, Handle kNone = Handle{}>
class Scoped {
 public:
  Scoped() = default;
  explicit Scoped(Handle handle) : handle_(handle) {}
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
  Scoped(Scoped&& other) noexcept : handle_(std::exchange(other.handle_, kNone)) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, kNone));
    return *this;
  }
  ~Scoped() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != kNone; }
  void reset(Handle handle = kNone) {
    if (handle_ != kNone) Close{}(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = kNone;
};

struct CloseKernelHandle {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
struct DeleteGdiObject {
  void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct DeleteDeviceContext {
  void operator()(HDC h) const { DeleteDC(h); }
};
struct FreeModule {
  void operator()(HMODULE h) const { FreeLibrary(h); }
};

using ScopedHandle = Scoped<HANDLE, CloseKernelHandle>;
using ScopedFont = Scoped<HFONT, DeleteGdiObject>;
using ScopedBitmap = Scoped<HBITMAP, DeleteGdiObject>;
using ScopedBrush = Scoped<HBRUSH, DeleteGdiObject>;
using ScopedMemoryDc = Scoped<HDC, DeleteDeviceContext>;
using ScopedModule = Scoped<HMODULE, FreeModule>;

// Owns one reference to a COM interface.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Release();
      ptr_ = std::exchange(other.ptr_, nullptr);
    }
    return *this;
  }
  ~ComPtr() { Release(); }

  Interface* get() const { return ptr_; }
  Interface* operator->() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }
  // For out-parameters: releases what is held first.
  Interface** put() {
    Release();
    return &ptr_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }  // NOLINT

  void Release() {
    if (ptr_ != nullptr) std::exchange(ptr_, nullptr)->Release();
  }

 private:
  Interface* ptr_ = nullptr;
};

// COM for the calling thread, as a single-threaded apartment (the browser
// control and the shell need one), for as long as this lives.
class ComApartment {
 public:
  ComApartment() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (initialized_) CoUninitialize();
  }

 private:
  bool initialized_;
};

}  // namespace corvane::win32
