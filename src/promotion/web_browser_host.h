#pragma once

#include <windows.h>

#include <exdisp.h>

#include <string_view>

#include "platform/win32/ole_apartment.h"
#include "platform/win32/ole_strings.h"
#include "platform/win32/scoped.h"
#include "platform/win32/system_library.h"

namespace corvane::promotion {

// Names this program under FEATURE_BROWSER_EMULATION for the current user,
// when it is not named there yet, with the standards mode of the installed
// Internet Explorer: else the control renders pages as version 7 does.
void NameProgramForBrowserEmulation();

// The platform's WebBrowser control ("Shell.Explorer.2"), hosted in a child
// window through atl.dll's AtlAxWin container: it is part of every Windows,
// so we carry no control container of our own.
class WebBrowserHost {
 public:
  explicit WebBrowserHost(win32::OleApartment& ole) : ole_(ole) {}
  WebBrowserHost(const WebBrowserHost&) = delete;
  WebBrowserHost& operator=(const WebBrowserHost&) = delete;
  ~WebBrowserHost() { Destroy(); }

  // Creates the control in a child of `parent`; false when atl.dll or the
  // control is not to be had.
  bool Create(HWND parent, int control_id);
  void Destroy();

  HWND Hwnd() const { return hwnd_; }
  IWebBrowser2* Browser() const { return browser_.get(); }

  // Outcome not examined: a page that cannot load is shown as the control shows it.
  void Navigate(std::wstring_view address);

 private:
  win32::OleApartment& ole_;
  win32::SystemLibrary atl_{L"atl.dll"};
  win32::OleStrings strings_;
  HWND hwnd_ = nullptr;
  win32::ComPtr<IWebBrowser2> browser_;
};

}  // namespace corvane::promotion
