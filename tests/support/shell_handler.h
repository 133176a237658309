#pragma once

// What the shell does with a request: the recorder registered as the
// https handler in the test prefix, and other handlers in its place.

#include <windows.h>

#include <string>
#include <vector>

namespace corvane::testing {

// While it lives, the shell's https handler is another than the plain
// recorder: none at all, or the recorder reached through DDE and busy for
// `busy_ms` before it takes any message, as a browser of the old kind that is
// slow to start. Then the plain recorder again.
enum class HttpsHandler { kNone, kSlowDde };
class HttpsHandlerSwap {
 public:
  explicit HttpsHandlerSwap(HttpsHandler handler, DWORD busy_ms = 0);
  HttpsHandlerSwap(const HttpsHandlerSwap&) = delete;
  HttpsHandlerSwap& operator=(const HttpsHandlerSwap&) = delete;
  ~HttpsHandlerSwap();

 private:
  std::wstring command_;  // the handler before, put back at the end
};

// The text of a message box, such as the shell shows when it cannot open something.
std::wstring MessageBoxText(HWND box);

// What the shell was asked to open, as the test prefix's registered
// recorder saw it. Each log starts empty; the recorder finds it through the
// environment, which every process this one starts inherits.
class RecorderLog {
 public:
  RecorderLog();
  RecorderLog(const RecorderLog&) = delete;
  RecorderLog& operator=(const RecorderLog&) = delete;
  ~RecorderLog();

  std::vector<std::string> Lines() const;
  // The lines once there are at least `count` of them, or what there is at the timeout.
  std::vector<std::string> WaitForLines(std::size_t count, DWORD timeout_ms) const;

 private:
  std::wstring path_;
};

}  // namespace corvane::testing
