// Start-up time and memory of Corvane.exe next to its floors: a bare Win32
// program that shows one empty window of the same size, the same with a
// visual-styles combo box (the themed floor), and that with Corvane's icon
// too. Runs alternate between the four. Each phase is
// timed from the start of CreateProcess: the window exists, it is visible,
// and it is drawn (no update region left in it or its children, and a sent
// message answered afterwards, so a paint still running has finished).

#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_stats.h"
#include "support/environment.h"
#include "support/processes.h"

namespace {

enum Phase { kCreated, kVisible, kDrawn, kPhases };
constexpr const char* kPhaseNames[kPhases] = {"window created", "window visible", "window drawn"};

struct Launch {
  double phase_ms[kPhases] = {-1, -1, -1};
  double private_mib = 0;
};

HWND FindProcessWindow(DWORD process, const wchar_t* class_name) {
  for (HWND window = FindWindowExW(nullptr, nullptr, class_name, nullptr); window != nullptr;
       window = FindWindowExW(nullptr, window, class_name, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == process) return window;
  }
  return nullptr;
}

BOOL CALLBACK FlagUnpainted(HWND child, LPARAM flag) {
  if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
    *reinterpret_cast<bool*>(flag) = false;
    return FALSE;
  }
  return TRUE;
}

// Whether `window` and every child of it have nothing left to paint.
bool NothingToPaint(HWND window) {
  if (GetUpdateRect(window, nullptr, FALSE)) return false;
  bool clean = true;
  EnumChildWindows(window, FlagUnpainted, reinterpret_cast<LPARAM>(&clean));
  return clean;
}

Launch Measure(const std::wstring& exe, const wchar_t* class_name) {
  using corvane::bench::NowMicroseconds;
  Launch launch;
  const double start = NowMicroseconds();
  const corvane::testing::ChildProcess process(L"\"" + exe + L"\"");
  HWND window = nullptr;
  const auto elapsed_ms = [&] { return (NowMicroseconds() - start) / 1000; };
  while (elapsed_ms() < 30e3 && launch.phase_ms[kDrawn] < 0) {
    if (window == nullptr) window = FindProcessWindow(process.Id(), class_name);
    if (window != nullptr && launch.phase_ms[kCreated] < 0)
      launch.phase_ms[kCreated] = elapsed_ms();
    if (window != nullptr && launch.phase_ms[kVisible] < 0 && IsWindowVisible(window)) {
      launch.phase_ms[kVisible] = elapsed_ms();
    }
    DWORD_PTR ignored = 0;
    if (launch.phase_ms[kVisible] >= 0 && NothingToPaint(window) &&
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) != 0 &&
        NothingToPaint(window)) {
      launch.phase_ms[kDrawn] = elapsed_ms();
    }
    if (launch.phase_ms[kDrawn] < 0) Sleep(0);
  }
  if (window == nullptr) return launch;
  Sleep(500);  // let start-up settle before reading memory
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  if (GetProcessMemoryInfo(process.Handle(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof(counters))) {
    // Windows' peak commit charge; Wine reports the anonymous resident memory
    // at the time of asking instead, and no PrivateUsage at all.
    launch.private_mib = static_cast<double>(counters.PeakPagefileUsage) / (1024.0 * 1024.0);
  }
  PostMessageW(window, WM_CLOSE, 0, 0);
  process.WaitForExit(10000);
  return launch;
}

}  // namespace

int main() {
  using corvane::bench::Median;
  const std::wstring folder = corvane::testing::ModuleDir();
  const char* runs_setting = std::getenv("CORVANE_BENCH_RUNS");
  const int runs =
      runs_setting != nullptr ? static_cast<int>(std::strtol(runs_setting, nullptr, 10)) : 21;
  constexpr int kPrograms = 4;
  const std::wstring programs[kPrograms] = {
      folder + L"\\Corvane.exe", folder + L"\\bare_window.exe", folder + L"\\bare_window_combo.exe",
      folder + L"\\bare_window_combo_icon.exe"};
  const wchar_t* classes[kPrograms] = {L"CorvaneForm1", L"BareWindow", L"BareWindow",
                                       L"BareWindow"};
  const char* names[kPrograms] = {"Corvane", "bare window", "themed floor", "+ the icon"};
  std::vector<double> phases[kPrograms][kPhases];
  std::vector<double> memory[kPrograms];
  for (int which = 0; which < kPrograms; ++which) Measure(programs[which], classes[which]);
  for (int run = 0; run < runs; ++run) {
    for (int side = 0; side < kPrograms; ++side) {
      const int which = (side + run) % kPrograms;
      const Launch launch = Measure(programs[which], classes[which]);
      if (launch.phase_ms[kDrawn] < 0) {
        std::puts("start-up: a program did not draw its window");
        return 1;
      }
      for (int phase = 0; phase < kPhases; ++phase) {
        phases[which][phase].push_back(launch.phase_ms[phase]);
      }
      memory[which].push_back(launch.private_mib);
    }
  }
  std::printf("start-up phases from CreateProcess, medians of %d alternating runs (ms):\n", runs);
  std::printf("  %-16s %12s %12s %12s %12s\n", "", names[0], names[1], names[2], names[3]);
  for (int phase = 0; phase < kPhases; ++phase) {
    std::printf("  %-16s %12.1f %12.1f %12.1f %12.1f\n", kPhaseNames[phase],
                Median(phases[0][phase]), Median(phases[1][phase]), Median(phases[2][phase]),
                Median(phases[3][phase]));
  }
  corvane::bench::Report("start-up until drawn, themed floor", "ms", Median(phases[0][kDrawn]),
                         Median(phases[2][kDrawn]), 1.10);
  const double extra = Median(memory[0]) - Median(memory[2]);
  std::printf(
      "%-34s Corvane %10.2f MiB  floor %10.2f MiB  above   %.2f MiB  target <= 0.75 MiB  %s\n",
      "private bytes, themed floor", Median(memory[0]), Median(memory[2]), extra,
      extra <= 0.75 ? "met" : "MISSED");
  std::printf("%-34s %10.2f MiB\n", "private bytes, bare window", Median(memory[1]));
  corvane::bench::Report("start-up until drawn, floor + icon", "ms", Median(phases[0][kDrawn]),
                         Median(phases[3][kDrawn]), 1.10);
  return 0;
}
