#pragma once

// Real input, as the user's devices give it.

#include <windows.h>

#include <string_view>

namespace corvane::testing {

// Presses `key` and lets go; with `repeats` above 1 it is held for that
// many key-downs, as the keyboard's auto-repeat gives them.
void PressKey(WORD key, int repeats = 1);
void TypeText(std::wstring_view text);
void MoveMouse(POINT screen);
void Click(POINT screen);

}  // namespace corvane::testing
