#include "support/shell_handler.h"

#include <filesystem>
#include <fstream>

#include "support/environment.h"
#include "support/processes.h"
#include "support/wait.h"

namespace corvane::testing {

namespace {

constexpr wchar_t kHttpsOpen[] = L"https\\shell\\open";

std::wstring ReadDefault(const std::wstring& key) {
  wchar_t value[1024] = {};
  DWORD size = sizeof(value);
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  return value;
}

void WriteValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  const std::size_t bytes = (value.size() + 1) * sizeof(wchar_t);
  RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value.c_str(),
                  static_cast<DWORD>(bytes));
}

}  // namespace

HttpsHandlerSwap::HttpsHandlerSwap(HttpsHandler handler, DWORD busy_ms)
    : command_(ReadDefault(std::wstring(kHttpsOpen) + L"\\command")) {
  const std::wstring open = kHttpsOpen;
  if (handler == HttpsHandler::kNone) {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, open.c_str());
    return;
  }
  WriteValue(open + L"\\command", nullptr,
             L"\"" + ModuleDir() + L"\\recorder.exe\" --dde CorvaneRecorder --busy " +
                 std::to_wstring(busy_ms));
  WriteValue(open + L"\\ddeexec", nullptr, L"%1");
  WriteValue(open + L"\\ddeexec\\application", nullptr, L"CorvaneRecorder");
  WriteValue(open + L"\\ddeexec\\topic", nullptr, L"WWW_OpenURL");
}

HttpsHandlerSwap::~HttpsHandlerSwap() {
  const std::wstring open = kHttpsOpen;
  RegDeleteTreeW(HKEY_CLASSES_ROOT, open.c_str());
  WriteValue(open + L"\\command", nullptr, command_);
}

std::wstring MessageBoxText(HWND box) {
  wchar_t text[512] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 512);  // a message box's static text
  return text;
}

RecorderLog::RecorderLog() {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  path_ = std::wstring(folder) + UniqueName(L"recorder") + L".log";
  DeleteFileW(path_.c_str());
  SetEnvironmentVariableW(L"CORVANE_RECORDER_LOG", path_.c_str());
}

RecorderLog::~RecorderLog() { DeleteFileW(path_.c_str()); }

std::vector<std::string> RecorderLog::Lines() const {
  std::vector<std::string> lines;
  std::ifstream file{std::filesystem::path(path_)};
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> RecorderLog::WaitForLines(std::size_t count, DWORD timeout_ms) const {
  std::vector<std::string> lines;
  WaitUntil(
      [&] {
        lines = Lines();
        return lines.size() >= count;
      },
      timeout_ms);
  return lines;
}

}  // namespace corvane::testing
