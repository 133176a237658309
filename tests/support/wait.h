#pragma once

// Waiting with this thread's messages pumped meanwhile.

#include <windows.h>

#include <functional>

namespace corvane::testing {

// Waits for `condition`, pumping this thread's messages meanwhile.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms);

// Gives other processes time to do what they must not, pumping messages.
void Pause(DWORD ms);

// Whether `edit`'s thread handles a posted message within `timeout_ms`:
// an edit control's selection, posted, then read back.
bool AnswersPostedMessages(HWND edit, DWORD timeout_ms);

}  // namespace corvane::testing
