#include "support/environment.h"

#include <cstdlib>
#include <vector>

namespace corvane::testing {

std::wstring ModuleDir() {
  std::wstring path(MAX_PATH, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  return path.substr(0, path.find_last_of(L"\\/"));
}

std::string Utf8(std::wstring_view text) {
  if (text.empty()) return {};
  std::string out(
      static_cast<std::size_t>(WideCharToMultiByte(
          CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr)),
      '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                      static_cast<int>(out.size()), nullptr, nullptr);
  return out;
}

std::string Utf8(std::u16string_view text) {
  return Utf8(std::wstring_view(reinterpret_cast<const wchar_t*>(text.data()), text.size()));
}

int TestDpi() {
  const char* dpi = std::getenv("CORVANE_TEST_DPI");
  return dpi != nullptr ? static_cast<int>(std::strtol(dpi, nullptr, 10)) : USER_DEFAULT_SCREEN_DPI;
}

namespace {

struct Search {
  const wchar_t* class_name;
  DWORD process_id;
  DWORD thread_id;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM param) {
  auto& s = *reinterpret_cast<Search*>(param);
  DWORD process = 0;
  const DWORD thread = GetWindowThreadProcessId(window, &process);
  if (s.process_id != 0 ? process != s.process_id : thread != s.thread_id) return TRUE;
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (std::wstring_view(name) == s.class_name && IsWindowVisible(window)) {
    s.found.push_back(window);
  }
  return TRUE;
}

}  // namespace

std::vector<HWND> VisibleWindows(const wchar_t* class_name, DWORD process_id, DWORD thread_id) {
  Search search{class_name, process_id, thread_id, {}};
  EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

RECT RectInParent(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace corvane::testing
