#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/win32/scoped.h"
#include "platform/win32/trace.h"

namespace corvane::win32 {

// The longest a pick waits for each answer from outside Corvane: the
// browser's address field, Windows' zone of an address. A hung browser or
// a slow proxy script holds the window no longer.
inline constexpr DWORD kAnswerTimeoutMs = 1000;

// `work`'s answer, run on a thread of its own and waited for at most
// `timeout_ms`; nullopt where it did not come in time (traced). While it
// waits, this thread answers what other threads send it, as SendMessageTimeout
// does, so a screen reader asking the window is not held; posted messages
// wait. What does not finish in time finishes on its own, its answer
// dropped: `work` must own everything it uses.
template <typename Result>
std::optional<Result> CallWithin(DWORD timeout_ms, std::function<Result()> work, Where where = {}) {
  struct Call {
    std::function<Result()> work;
    ScopedHandle done;
    std::optional<Result> result;  // written before `done` is set, read after
  };
  const auto call = std::make_shared<Call>(
      Call{std::move(work), ScopedHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr)), {}});
  if (!call->done) {
    TraceLastError(where);
    return std::nullopt;
  }
  try {
    std::thread([call] {
      call->result = call->work();
      SetEvent(call->done.get());
    }).detach();
  } catch (const std::system_error& error) {
    Trace("no thread for a call, error", static_cast<unsigned long>(error.code().value()), where);
    return std::nullopt;
  }
  const HANDLE done = call->done.get();
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    const auto left = static_cast<DWORD>(now < deadline ? deadline - now : 0);
    const DWORD woke = MsgWaitForMultipleObjects(1, &done, FALSE, left, QS_SENDMESSAGE);
    if (woke == WAIT_OBJECT_0) return std::move(call->result);
    if (woke != WAIT_OBJECT_0 + 1) break;
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  Trace("no answer within the milliseconds", timeout_ms, where);
  return std::nullopt;
}

}  // namespace corvane::win32
