#pragma once

// Failures the user does not see fail (a picture that stays blank, a control
// that is not made) are still told to whoever debugs: where, and the
// HRESULT or Win32 error, through OutputDebugString (a debugger, DebugView).
// The place is the caller's: the builtins below are evaluated where the
// call is written (std::source_location is not in every compiler we use).

#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <utility>

namespace corvane::win32 {

struct Where {
  const char* file = __builtin_FILE();
  int line = __builtin_LINE();
  const char* function = __builtin_FUNCTION();
};

// Who else hears of a traced failure, as WIL's logging callback lets one
// hear: a test that must see "the blank picture was reported". None unless
// one is set; the one slot of the process, so only a test sets it.
using TraceObserver = void (*)(const char* line);
inline TraceObserver& ObserverOfTraces() {
  static TraceObserver observer = nullptr;
  return observer;
}

// Lets `observer` hear of every traced failure while this lives, and puts
// back whoever heard before.
class ScopedTraceObserver {
 public:
  explicit ScopedTraceObserver(TraceObserver observer)
      : previous_(std::exchange(ObserverOfTraces(), observer)) {}
  ScopedTraceObserver(const ScopedTraceObserver&) = delete;
  ScopedTraceObserver& operator=(const ScopedTraceObserver&) = delete;
  ~ScopedTraceObserver() { ObserverOfTraces() = previous_; }

 private:
  TraceObserver previous_;
};

inline void Trace(const char* what, unsigned long code, Where where = {}) {
  char line[512];
  const int length = std::snprintf(line, sizeof(line), "Corvane: %s:%d %s: %s 0x%08lX\n",
                                   where.file, where.line, where.function, what, code);
  if (length <= 0) return;
  if (const TraceObserver observer = ObserverOfTraces()) observer(line);
  // Source names and function names are ASCII.
  wchar_t wide[sizeof(line)];
  std::size_t i = 0;
  for (; i < sizeof(line) - 1 && line[i] != '\0'; ++i) wide[i] = static_cast<wchar_t>(line[i]);
  wide[i] = L'\0';
  OutputDebugStringW(wide);
}

// FAILED(hr), and when it did, says so.
inline bool Failed(HRESULT hr, Where where = {}) {
  if (SUCCEEDED(hr)) return false;
  Trace("HRESULT", static_cast<unsigned long>(hr), where);
  return true;
}

// Says that a Win32 call failed, with the thread's last error; answers
// false, so that a function failing with it can `return TraceLastError();`.
inline bool TraceLastError(Where where = {}) {
  Trace("Win32 error", GetLastError(), where);
  return false;
}

}  // namespace corvane::win32
