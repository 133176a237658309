#pragma once

// What assistive technology (screen readers, through Microsoft Active
// Accessibility, and UI Automation, which maps it) sees of the main window
// beyond what the system knows by itself: the link label, which the window
// draws, as a link; and the hint, announced when it shows.

#include <windows.h>

#include <memory>

#include "main_window/link_label.h"
#include "main_window/pick_hint.h"
#include "platform/win32/ole_apartment.h"

namespace corvane::main_window {

struct AccessibleSite;

class FormAccessibility {
 public:
  // The object id under which the hint is announced as an alert (servers
  // name their own objects with positive ids).
  static constexpr LONG kHintObjectId = 1;

  // `activate_label`: the message the window takes to do what a click on
  // the label does.
  FormAccessibility(const LinkLabel& label, const PickHint& hint, win32::OleApartment& ole,
                    UINT activate_label);
  FormAccessibility(const FormAccessibility&) = delete;
  FormAccessibility& operator=(const FormAccessibility&) = delete;
  ~FormAccessibility();

  // The answer to `window`'s WM_GETOBJECT: a new object for every request,
  // as the system's own are, so no two clients share an enumeration.
  LRESULT OnGetObject(HWND window, WPARAM wparam, LPARAM lparam);
  // Tells screen readers the text of the hint that has just shown, without
  // taking the focus.
  void AnnounceHint(HWND window);
  // The window is going: every object handed out says so from now on and
  // lets go of the system's objects it holds.
  void Disconnect();

 private:
  // Shared with every object handed out, which may outlive the window.
  std::shared_ptr<AccessibleSite> site_;
  win32::OleApartment& ole_;
};

}  // namespace corvane::main_window
