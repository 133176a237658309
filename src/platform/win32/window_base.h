#pragma once

// The window-procedure thunk both windows share, and the window's life: the
// C++ object rides in on CreateWindowEx's lpParam, is attached at
// WM_NCCREATE, gets every message after that through Derived::HandleMessage
// and is let go at WM_NCDESTROY. The tool's open windows are counted there.
// A change of DPI is handled here too, the same way for every window.

#include <windows.h>

#include <bit>
#include <utility>

#include "platform/win32/trace.h"

namespace corvane::win32 {

// Ends the message loop when the last of the tool's windows is gone.
class OpenWindows {
 public:
  void Opened() { ++count_; }
  void Closed() {
    if (--count_ == 0) PostQuitMessage(0);
  }
  int Count() const { return count_; }

 private:
  int count_ = 0;
};

template <typename Derived>
class BaseWindow {
 public:
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;
  BaseWindow(BaseWindow&&) = delete;
  BaseWindow& operator=(BaseWindow&&) = delete;

  HWND Hwnd() const { return hwnd_; }

 protected:
  explicit BaseWindow(OpenWindows& open_windows) : open_windows_(open_windows) {}

  // A window still open goes with its object, but the object is let go of
  // first: no message reaches an object whose destruction has begun. A
  // derived class whose members own child windows calls Destroy() first in
  // its own destructor, so they go while the whole object is alive.
  ~BaseWindow() { Destroy(); }

  // Registers the class Derived::kClassName on first use and creates the
  // window. Both icons come from the one icon resource: the shell picks the
  // sizes.
  bool Create(HINSTANCE instance, int icon_id, DWORD ex_style, const wchar_t* title, DWORD style,
              int x, int y, int width, int height) {
    if (!Register(instance, icon_id)) return TraceLastError();
    CreateWindowExW(ex_style, Derived::kClassName, title, style, x, y, width, height, nullptr,
                    nullptr, instance, static_cast<Derived*>(this));
    // Its own WM_CREATE may have refused it, having said why.
    if (hwnd_ == nullptr) TraceLastError();
    return hwnd_ != nullptr;
  }

  // At a change of DPI, after Derived::ApplyDpi has laid the contents out
  // again: takes the rectangle Windows suggests. A window that must keep an
  // exact client size places itself instead.
  void PlaceForDpi(const RECT& suggested, int /*dpi*/) {
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // Destroys the window, if open, without telling this object.
  void Destroy() {
    HWND window = std::exchange(hwnd_, nullptr);
    if (window == nullptr) return;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
    open_windows_.Closed();
  }

 private:
  static bool Register(HINSTANCE instance, int icon_id) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, Derived::kClassName, &existing)) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &BaseWindow::WindowProc;
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(icon_id), IMAGE_ICON, 0, 0,
                                             LR_DEFAULTSIZE | LR_SHARED));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(icon_id), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = Derived::kClassName;
    return RegisterClassExW(&wc) != 0;
  }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                     LPARAM lparam) noexcept {
    Derived* self = nullptr;
    if (message == WM_NCCREATE) {
      // The message carries a pointer in its integer.
      const auto* create = std::bit_cast<const CREATESTRUCTW*>(lparam);
      self = static_cast<Derived*>(create->lpCreateParams);
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      self->open_windows_.Opened();
    } else {
      self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
    if (message == WM_DPICHANGED) {
      // As the per-monitor DPI sample does: contents and fonts for the new
      // DPI, the window where Windows suggests, then one repaint.
      const int dpi = HIWORD(wparam);
      self->ApplyDpi(dpi);
      self->PlaceForDpi(*std::bit_cast<const RECT*>(lparam), dpi);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    }
    const LRESULT result = self->HandleMessage(message, wparam, lparam);
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
      self->open_windows_.Closed();
    }
    return result;
  }

  OpenWindows& open_windows_;
  HWND hwnd_ = nullptr;
};

}  // namespace corvane::win32
