#pragma once

#include <windows.h>

#include <memory>

#include "promotion/form2.h"

namespace corvane::promotion {

// Owns the one promotion window: made on the first click on the main
// window's link label and kept until the tool ends.
class Promotion {
 public:
  Promotion(HINSTANCE instance, win32::OpenWindows& open_windows, const win32::Dpi& dpis,
            win32::OleApartment& ole)
      : instance_(instance), open_windows_(open_windows), dpis_(dpis), ole_(ole) {}

  void Label1_Click();

  // The window object once the label has been clicked, else null.
  Form2* Window() const { return form2_.get(); }

 private:
  HINSTANCE instance_;
  win32::OpenWindows& open_windows_;
  const win32::Dpi& dpis_;
  win32::OleApartment& ole_;
  std::unique_ptr<Form2> form2_;
};

}  // namespace corvane::promotion
