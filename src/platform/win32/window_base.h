#pragma once

// The window-procedure thunk both windows share: the C++ object rides in on
// CreateWindowEx's lpParam, is attached at WM_NCCREATE and gets every message
// after that through Derived::HandleMessage.

#include <windows.h>

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
  BaseWindow() = default;
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;
  BaseWindow(BaseWindow&&) = delete;
  BaseWindow& operator=(BaseWindow&&) = delete;

  HWND Hwnd() const { return hwnd_; }

 protected:
  ~BaseWindow() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  }

  // Registers the class on first use; the class name is Derived::kClassName.
  // Both icons come from the one icon resource: the shell picks the sizes.
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
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);  // NOLINT: the system's own arrow
    wc.lpszClassName = Derived::kClassName;
    return RegisterClassExW(&wc) != 0;
  }

  bool CreateHwnd(HINSTANCE instance, DWORD ex_style, const wchar_t* title, DWORD style, int x,
                  int y, int width, int height) {
    CreateWindowExW(ex_style, Derived::kClassName, title, style, x, y, width, height, nullptr,
                    nullptr, instance, static_cast<Derived*>(this));
    return hwnd_ != nullptr;
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    Derived* self = nullptr;
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);  // NOLINT
      self = static_cast<Derived*>(create->lpCreateParams);
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));  // NOLINT
    } else {
      self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));  // NOLINT
    }
    if (self == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
    const LRESULT result = self->HandleMessage(message, wparam, lparam);
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
    }
    return result;
  }

  HWND hwnd_ = nullptr;
};

}  // namespace corvane::win32
