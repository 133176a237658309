#include "support/input.h"

#include <vector>

#include "support/wait.h"

namespace corvane::testing {

void PressKey(WORD key, int repeats) {
  std::vector<INPUT> inputs(static_cast<std::size_t>(repeats) + 1);
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
  }
  inputs.back().ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeText(std::wstring_view text) {
  for (const wchar_t c : text) {
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wScan = inputs[1].ki.wScan = c;
    inputs[0].ki.dwFlags = KEYEVENTF_UNICODE;
    inputs[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
  }
}

namespace {

// A mouse event at `screen`, in the absolute coordinates SendInput wants.
INPUT MouseAt(POINT screen, DWORD flags) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(screen.x, 65535, width - 1);
  input.mi.dy = MulDiv(screen.y, 65535, height - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return input;
}

}  // namespace

void MoveMouse(POINT screen) {
  // Wine follows the pointer's window (and so its shape) through the X
  // server's own motion events, which the warp gives; the input event gives
  // the window its mouse messages. The warp stops a pixel short and the input
  // makes the last pixel's move, as a hand does: after a bare warp the X
  // server now and then keeps its own pointer shape until the next motion.
  SetCursorPos(screen.x - 1, screen.y);
  INPUT move = MouseAt(screen, 0);
  SendInput(1, &move, sizeof(INPUT));
  // Wait until the pointer is there, so what follows happens where it should.
  WaitUntil(
      [&] {
        POINT now{};
        GetCursorPos(&now);
        return now.x == screen.x && now.y == screen.y;
      },
      2000);
}

void Click(POINT screen) {
  MoveMouse(screen);
  // Position, press and release in one call: nothing can move the pointer between them.
  INPUT clicks[2] = {MouseAt(screen, MOUSEEVENTF_LEFTDOWN), MouseAt(screen, MOUSEEVENTF_LEFTUP)};
  SendInput(2, clicks, sizeof(INPUT));
}

}  // namespace corvane::testing
