#include "support/processes.h"

#include <cstdio>
#include <cwchar>
#include <sstream>

#include "support/environment.h"

namespace corvane::testing {

ChildProcess::ChildProcess(const std::wstring& command_line) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  // Wine now and then loses a new process while it starts (about one start
  // in several hundred under load) and reports ERROR_INTERNAL_ERROR; the
  // program was never run, so starting it again changes nothing it tests.
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::wstring mutable_line = command_line;
    if (CreateProcessW(nullptr, mutable_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info)) {
      CloseHandle(info.hThread);
      process_.reset(info.hProcess);
      id_ = info.dwProcessId;
      return;
    }
    const DWORD error = GetLastError();
    std::printf("%ls: not started, error %lu\n", command_line.c_str(), error);
    if (error != ERROR_INTERNAL_ERROR) return;
  }
}

ChildProcess::~ChildProcess() {
  if (Running()) {
    TerminateProcess(process_.get(), 1);
    WaitForExit(5000);
  }
}

bool ChildProcess::WaitForExit(DWORD timeout_ms) const {
  return WaitForSingleObject(process_.get(), timeout_ms) == WAIT_OBJECT_0;
}

std::wstring UniqueName(const wchar_t* what) {
  static LONG counter = 0;
  std::wostringstream name;
  name << L"corvane-" << what << L"-" << GetCurrentProcessId() << L"-"
       << InterlockedIncrement(&counter);
  return name.str();
}

namespace {

std::wstring Hex(std::u16string_view text) {
  std::wstring hex;
  wchar_t digits[5];
  for (const char16_t unit : text) {
    (void)swprintf(digits, 5, L"%04X", static_cast<unsigned>(unit));
    hex += digits;
  }
  return hex;
}

}  // namespace

BrowserFixture::BrowserFixture(std::u16string_view address, Options options) {
  const std::wstring ready_name = UniqueName(L"ready");
  const std::wstring quit_name = UniqueName(L"quit");
  ready_event_.reset(CreateEventW(nullptr, TRUE, FALSE, ready_name.c_str()));
  quit_event_.reset(CreateEventW(nullptr, TRUE, FALSE, quit_name.c_str()));
  std::wstring command = L"\"" + ModuleDir() + L"\\browser_fixture.exe\" --ready " + ready_name +
                         L" --quit " + quit_name + L" --address " + Hex(address) + L" ";
  if (!options.worker_w) command += L" --no-workerw";
  if (options.hang) command += L" --hang";
  if (options.address_band_root) command += L" --address-band-root";
  process_ = ChildProcess(command);
  if (!process_.Started()) return;
  const HANDLE waits[] = {ready_event_.get(), process_.Handle()};
  const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, 15000);
  ready_ = woke == WAIT_OBJECT_0;
  if (woke == WAIT_OBJECT_0 + 1) {
    DWORD code = 0;
    GetExitCodeProcess(process_.Handle(), &code);
    std::printf("browser fixture: ended before it was ready, exit code 0x%08lX\n", code);
  } else if (!ready_) {
    std::printf("browser fixture: not ready in 15 s (wait result %lu)\n", woke);
  }
}

BrowserFixture::~BrowserFixture() {
  SetEvent(quit_event_.get());
  process_.WaitForExit(5000);
}

}  // namespace corvane::testing
