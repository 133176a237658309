#pragma once

// Move-only owners for Win32 handles and COM interfaces: a copy would close
// or release twice.

#include <windows.h>

#include <oleauto.h>
#include <unknwn.h>

#include <type_traits>
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
struct FreeBstr {
  void operator()(BSTR s) const { SysFreeString(s); }
};

using ScopedHandle = Scoped<HANDLE, CloseKernelHandle>;
using ScopedFont = Scoped<HFONT, DeleteGdiObject>;
using ScopedBitmap = Scoped<HBITMAP, DeleteGdiObject>;
using ScopedBrush = Scoped<HBRUSH, DeleteGdiObject>;
using ScopedMemoryDc = Scoped<HDC, DeleteDeviceContext>;
using ScopedModule = Scoped<HMODULE, FreeModule>;
// oleaut32 is imported by whatever uses this.
using ScopedBstr = Scoped<BSTR, FreeBstr>;

// A window's device context from GetDC, given back to the same window.
class ScopedWindowDc {
 public:
  explicit ScopedWindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ScopedWindowDc(const ScopedWindowDc&) = delete;
  ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
  ~ScopedWindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// The paint scope of WM_PAINT: BeginPaint now, EndPaint at the end.
class ScopedPaint {
 public:
  explicit ScopedPaint(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  ~ScopedPaint() { EndPaint(window_, &paint_); }

  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// Selects a GDI object into a DC and puts back the one it replaced.
class ScopedSelectObject {
 public:
  ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ScopedSelectObject(const ScopedSelectObject&) = delete;
  ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;
  ~ScopedSelectObject() {
    if (old_ != nullptr && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Owns one reference to a COM interface.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  // The same reference, as an interface the object derives from.
  template <typename Derived>
  requires std::is_convertible_v<Derived*, Interface*> ComPtr(ComPtr<Derived>&& other)
  noexcept  // NOLINT(google-explicit-constructor)
      : ptr_(other.Detach()) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      reset();
      ptr_ = std::exchange(other.ptr_, nullptr);
    }
    return *this;
  }
  ~ComPtr() { reset(); }

  Interface* get() const { return ptr_; }
  Interface* operator->() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }
  // For out-parameters: releases what is held first.
  Interface** put() {
    reset();
    return &ptr_;
  }

  // Hands the reference held over to the caller.
  Interface* Detach() { return std::exchange(ptr_, nullptr); }

  // Lets go of the reference held, if any.
  void reset() {
    if (ptr_ != nullptr) std::exchange(ptr_, nullptr)->Release();
  }

 private:
  Interface* ptr_ = nullptr;
};

}  // namespace corvane::win32
