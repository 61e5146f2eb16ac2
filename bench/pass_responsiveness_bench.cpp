// How long the window waits for its refresh while Optimize runs its usual areas: 1,000 fake
// processes whose trim takes 5 ms each, a 170 ms refresh timer served whenever the pass
// lets messages run. Prints the longest gap between two refreshes, with the pass letting
// messages run after each process and, for comparison, without.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "fakes/fake_machine.h"
#include "fakes/fake_memory_api.h"
#include "fakes/fake_system.h"
#include "memory/optimizer.h"
#include "settings/area_settings.h"

namespace {

using namespace pravelo;
using SteadyClock = std::chrono::steady_clock;

constexpr uint32_t kProcesses = 1000;
constexpr auto kTrimTime = std::chrono::milliseconds(5);
constexpr auto kRefreshInterval = std::chrono::milliseconds(170);

// The fake machine, with a trim that takes as long as a slow real one.
class SlowMachine : public fakes::FakeMachine {
 public:
  OpenResult OpenProcess(uint32_t processId) override {
    std::this_thread::sleep_for(kTrimTime);
    return FakeMachine::OpenProcess(processId);
  }
};

// The refresh timer as a message loop serves it: due every 170 ms, run at the first chance.
class RefreshTimer {
 public:
  void Start() {
    last_ = SteadyClock::now();
    due_ = last_ + kRefreshInterval;
  }
  void Serve() {
    const SteadyClock::time_point now = SteadyClock::now();
    if (now < due_) return;
    longest_ = std::max(longest_, now - last_);
    last_ = now;
    due_ = now + kRefreshInterval;
  }
  double LongestGapMs() const { return std::chrono::duration<double, std::milli>(longest_).count(); }

 private:
  SteadyClock::time_point last_, due_;
  SteadyClock::duration longest_{};
};

double RunPass(bool yielding, double& passMs) {
  SlowMachine processes;
  for (uint32_t id = 0; id < kProcesses; ++id) processes.processes.push_back({id * 4, "program.exe", 100});
  fakes::FakeMemoryApi memory;
  memory.availableBytes = 1'024'000'000;
  fakes::FakeClock clock;
  base::ExclusiveRun gate;
  memory::Optimizer optimizer(processes, memory, clock, gate);
  const memory::AreaSet areas = memory::ParseAreaList(settings::kDefaultAreas).areas;
  memory::PassFigures figures;
  RefreshTimer refresh;

  refresh.Start();
  const SteadyClock::time_point start = SteadyClock::now();
  memory::RunOptions options;
  if (yielding) options.yield = [&] { refresh.Serve(); };
  optimizer.Run(areas, figures, options);
  refresh.Serve();  // the first message the loop sees after the pass
  passMs = std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
  return refresh.LongestGapMs();
}

}  // namespace

int main() {
  std::printf("standard pass over %u fake processes, %lld ms per trim, refresh every %lld ms\n", kProcesses,
              static_cast<long long>(kTrimTime.count()), static_cast<long long>(kRefreshInterval.count()));
  for (const bool yielding : {true, false}) {
    double passMs = 0;
    const double gapMs = RunPass(yielding, passMs);
    std::printf("  %-34s pass %.0f ms, longest gap between refreshes %.1f ms\n",
                yielding ? "messages after each process:" : "no messages during the pass:", passMs, gapMs);
  }
  return 0;
}
