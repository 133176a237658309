#include "support/wait.h"

namespace corvane::testing {

bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

void Pause(DWORD ms) {
  WaitUntil([] { return false; }, ms);
}

bool AnswersPostedMessages(HWND edit, DWORD timeout_ms) {
  // A posted message is handled only by a running message loop: its effect
  // proves the thread is not frozen. A sent one would not: a thread blocked
  // in SendMessage still answers those.
  DWORD start = 0;
  DWORD end = 0;
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                      reinterpret_cast<LPARAM>(&end), SMTO_ABORTIFHUNG, 200, &ignored);
  // Within the shortest text the list shows, so no text it may take meanwhile cuts it.
  const DWORD want_start = start == 1 ? 0 : 1;
  PostMessageW(edit, EM_SETSEL, want_start, 2);
  return WaitUntil(
      [&] {
        SendMessageTimeoutW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                            reinterpret_cast<LPARAM>(&end), SMTO_ABORTIFHUNG, 200, &ignored);
        return start == want_start && end == 2;
      },
      timeout_ms);
}

}  // namespace corvane::testing
