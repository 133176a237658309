#pragma once

#include <windows.h>

#include "platform/win32/dpi.h"
#include "platform/win32/window_base.h"
#include "promotion/web_browser_host.h"

namespace corvane::promotion {

// Promotion host and contact; reserved names until the real ones are known.
inline constexpr wchar_t kPromotionPage[] = L"https://www.tavlo.example/ad/index1.htm";
inline constexpr wchar_t kContactEmail[] = L"ads@tavlo.example";

// The promotion window: a page in the platform's browser control.
class Form2 final : public win32::BaseWindow<Form2> {
 public:
  static constexpr const wchar_t* kClassName = L"CorvaneForm2";
  static constexpr int kWebBrowser1Id = 201;

  Form2(HINSTANCE instance, win32::OpenWindows& open_windows, const win32::Dpi& dpis,
        win32::OleApartment& ole);
  Form2(const Form2&) = delete;
  Form2& operator=(const Form2&) = delete;
  Form2(Form2&&) = delete;
  Form2& operator=(Form2&&) = delete;
  ~Form2() {
    // As closing does: the control goes first, while the window is whole.
    web_browser1_.Destroy();
    Destroy();
  }

  // Shows the window, loading it first when it is not open.
  void Show();

  const WebBrowserHost& WebBrowser1() const { return web_browser1_; }

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) noexcept;

 private:
  bool Load();
  void Form_Load();
  void CentreOnScreen();
  friend class win32::BaseWindow<Form2>;
  // The control's size at `dpi`; the window takes the place Windows suggests.
  void ApplyDpi(int dpi);

  HINSTANCE instance_;
  const win32::Dpi& dpis_;
  WebBrowserHost web_browser1_;
};

}  // namespace corvane::promotion
