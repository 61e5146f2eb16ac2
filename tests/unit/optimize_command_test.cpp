#include <gtest/gtest.h>

#include "app/optimize_command.h"
#include "fakes/fake_platform.h"
#include "settings/area_settings.h"

namespace pravelo::app {
namespace {

using fakes::Request;
using memory::MemoryArea;

struct Command : fakes::FakePlatform {
  Command() {
    machine.processes = {{400, "400.exe", 1000}, {1234, "1234.exe", 2000}};
    memory.totalBytes = 4ull << 30;
    memory.availableSource = [this] { return machine.AvailableBytes(); };
    SetAreas(settings::kManualAreas, MemoryArea::WorkingSets);
    SetAreas(settings::kAutomaticAreas, MemoryArea::StandbyList);
  }
  void SetAreas(const settings::Setting& setting, MemoryArea area) {
    memory::AreaSet areas;
    areas.Add(area);
    settings::WriteAreas(store, setting, areas);
  }

  settings::SettingsStore store{registry};
  fakes::RcStringTable strings{settings::kLanguageEnglish};
  OptimizeCommand command{platform, store, [] { return std::u16string(1, u' '); }};
};

TEST(OptimizeCommand, EachTriggerRunsItsOwnAreasAndNothingRunsBesideGatedWork) {
  struct Case {
    PassTrigger trigger;
    bool gateHeld;
    int listings;  // the working sets list the processes
    std::vector<Request> requests;
  };
  const Case cases[] = {
      {PassTrigger::Manual, false, 1, {}},
      {PassTrigger::Automatic, false, 0, {Request::PurgeStandby}},
      {PassTrigger::Manual, true, 0, {}},
      {PassTrigger::Automatic, true, 0, {}},
  };
  for (const Case& c : cases) {
    Command t;
    bool ran = false;
    if (c.gateHeld) {
      t.command.Gate().RunExclusive([&] { ran = t.command.Optimize(c.trigger); });
    } else {
      ran = t.command.Optimize(c.trigger);
    }
    EXPECT_EQ(ran, !c.gateHeld);
    EXPECT_EQ(t.machine.listings, c.listings);
    EXPECT_EQ(t.machine.requests, c.requests);
    EXPECT_FALSE(t.command.Gate().Running());
  }
}

TEST(OptimizeCommand, TheReportIsMeasuredInTheUsersSeparator) {
  constexpr uint64_t kBytesPerProgramMb = 1024000;
  struct Case {
    const char* separator;
    uint64_t beforeKb, afterKb;  // thousandths of the program's MB
    const char* report;
  };
  const Case cases[] = {
      {".", 1024250, 1536750, "Optimized.512.5MB\r\n1024.25 MB -> 1536.75 MB"},
      {",", 1536500, 1536500, "Optimized.0MB\r\n1536,5 MB -> 1536,5 MB"},
  };
  for (const Case& c : cases) {
    Command t;
    t.environment.decimalSeparator = c.separator;
    t.memory.availableSource = [&] {
      return (t.machine.listings == 0 ? c.beforeKb : c.afterKb) * kBytesPerProgramMb / 1000;
    };
    EXPECT_EQ(t.command.OptimizeAndReport(t.strings), c.report);
  }
}

TEST(OptimizeCommand, OnlyAPassThatRanClearsAnExistingVcacheSection) {
  const std::string ini = "[boot]\r\nshell=x\r\n[vcache]\r\nMaxFileCache=1\r\n[drivers]\r\na=b\r\n";
  struct Case {
    std::optional<std::string> before;
    bool gateHeld;
    std::optional<std::string> after;  // nothing: no file
  };
  const Case cases[] = {
      {ini, false, "[boot]\r\nshell=x\r\n[drivers]\r\na=b\r\n"},
      {std::nullopt, false, std::nullopt},  // none is made
      {ini, true, ini},                     // no pass, no report, the file left alone
  };
  const std::string path = "C:\\windows\\system.ini";
  for (const Case& c : cases) {
    Command t;
    if (c.before) t.files.files[path] = *c.before;
    std::optional<std::string> report;
    if (c.gateHeld) {
      t.command.Gate().RunExclusive([&] { report = t.command.OptimizeAndReport(t.strings); });
    } else {
      report = t.command.OptimizeAndReport(t.strings);
    }
    EXPECT_EQ(report.has_value(), !c.gateHeld);
    const auto file = t.files.files.find(path);
    EXPECT_EQ(file == t.files.files.end() ? std::nullopt : std::optional<std::string>(file->second), c.after);
  }
}

TEST(OptimizeCommand, TheDeepPassHoldsTheGateAndHandsOverToAReportingInstance) {
  Command t;
  t.environment.variables["PRAVELO_DEEP_FILL_LIMIT_MB"] = "1";
  t.command.ReadEnvironment();
  int holds = 0;
  EXPECT_TRUE(t.command.DeepOptimize([&] {
    ++holds;
    EXPECT_TRUE(t.command.DeepPassRunning());
    EXPECT_FALSE(t.command.Optimize(PassTrigger::Manual));
    EXPECT_FALSE(t.command.DeepOptimize([&] { ++holds; }));
  }));
  EXPECT_EQ(holds, 1);
  EXPECT_FALSE(t.command.DeepPassRunning());
  EXPECT_EQ(t.machine.listings, 0);
  t.environment.programFolder = "C:\\Memory Tools";
  EXPECT_EQ(t.command.ReportingRestart(1834), "\"C:\\Memory Tools\\pravelo.exe\" /o 1834");
}

}  // namespace
}  // namespace pravelo::app
