// How long the window goes without a refresh while a pass makes one request that blocks
// for 3 s (a standby purge on a machine with tens of GB of standby pages, say): a real
// window with the 170 ms refresh timer, the real message loop, and a fake request. Prints
// the longest gap between two refreshes with the request beside the window's thread and,
// for comparison, on it.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "fakes/fake_machine.h"
#include "fakes/fake_memory_api.h"
#include "fakes/fake_system.h"
#include "memory/optimizer.h"
#include "platform/message_pump_win32.h"

namespace {

using namespace pravelo;
using SteadyClock = std::chrono::steady_clock;

constexpr UINT kRefreshMs = 170;
constexpr DWORD kBlockingMs = 3000;
constexpr UINT_PTR kRefreshTimer = 1;

SteadyClock::time_point lastRefresh;
SteadyClock::duration longestGap{};
int refreshes = 0;

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kRefreshTimer) {
    const SteadyClock::time_point now = SteadyClock::now();
    longestGap = std::max(longestGap, now - lastRefresh);
    lastRefresh = now;
    ++refreshes;
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

double RunPass(MessagePumpWin32& pump, bool beside, double& passMs) {
  fakes::FakeMachine machine;
  machine.onRequest = [](fakes::Request) { Sleep(kBlockingMs); };
  fakes::FakeMemoryApi memory;
  memory.availableBytes = 1'024'000'000;
  fakes::FakeClock clock;
  base::ExclusiveRun gate;
  memory::Optimizer optimizer(machine, memory, clock, gate);
  memory::AreaSet standby;
  standby.Add(memory::MemoryArea::StandbyList);
  memory::PassFigures figures;
  memory::RunOptions options;
  options.yield = [&pump] { pump.DoEvents(); };
  if (beside) options.runLong = [&pump](const std::function<void()>& call) { pump.RunBesideMessages(call); };

  pump.DoEvents();
  lastRefresh = SteadyClock::now();
  longestGap = {};
  refreshes = 0;
  const SteadyClock::time_point start = lastRefresh;
  optimizer.Run(standby, figures, options);
  passMs = std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
  // Up to the refresh the loop serves first after the pass.
  const int served = refreshes;
  while (refreshes == served) pump.WaitAndDispatch();
  return std::chrono::duration<double, std::milli>(longestGap).count();
}

}  // namespace

int main() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"PraveloLongCallBench";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowW(windowClass.lpszClassName, L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                              nullptr, nullptr, windowClass.hInstance, nullptr);
  SetTimer(window, kRefreshTimer, kRefreshMs, nullptr);
  MessagePumpWin32 pump;

  std::printf("one request blocking %lu ms, refresh every %u ms\n", kBlockingMs, kRefreshMs);
  for (const bool beside : {true, false}) {
    double passMs = 0;
    const double gapMs = RunPass(pump, beside, passMs);
    std::printf("  %-38s pass %.0f ms, longest gap between refreshes %.1f ms\n",
                beside ? "request on a worker, window served:" : "request on the window's thread:", passMs,
                gapMs);
  }
  KillTimer(window, kRefreshTimer);
  DestroyWindow(window);
  return 0;
}
