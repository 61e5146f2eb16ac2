#include <gtest/gtest.h>

#include "app/command_line.h"
#include "fakes/app_fixture.h"
#include "settings/machine_values.h"
#include "update/sha256.h"

namespace pravelo {
namespace {

using fakes::AppFixture;
using fakes::ProcessEnded;

TEST(Startup, FirstStartCreatesTheSevenSettingsAndTheTwoMachineValues) {
  AppFixture f;
  f.Start();
  const std::pair<const char*, const char*> expected[] = {
      {"AutoOptimize", "1"}, {"Interval", "50"}, {"TrayAtStart", "0"},     {"MinimizeTray", "0"},
      {"MinAtClose", "0"},   {"AutoStart", "0"}, {"KernelMemoryUse", "0"},
  };
  for (const auto& [name, value] : expected) EXPECT_EQ(f.Setting(name), value) << name;
  EXPECT_EQ(f.registry.CountUnder(RegistryRoot::CurrentUser, fakes::kSettingsKey), 7u);
  // The areas live in a key of their own.
  for (const char* name : {"Manual", "Automatic"}) {
    const auto* areas = f.registry.Find(RegistryRoot::CurrentUser, fakes::kAreasKey, name);
    ASSERT_NE(areas, nullptr) << name;
    EXPECT_EQ(areas->type, fakes::RegistryValue::Type::String);
    EXPECT_EQ(areas->text, "WorkingSets,SystemFileCache");
  }
  EXPECT_EQ(f.registry.CountUnder(RegistryRoot::CurrentUser, fakes::kAreasKey), 2u);

  const auto* cache =
      f.registry.Find(RegistryRoot::LocalMachine, settings::kMemoryManagementKey, "LargeSystemCache");
  ASSERT_NE(cache, nullptr);
  EXPECT_EQ(cache->type, fakes::RegistryValue::Type::Dword);
  EXPECT_EQ(cache->dword, 1u);
  const auto* paging =
      f.registry.Find(RegistryRoot::LocalMachine, settings::kMemoryManagementKey, "DisablePagingExecutive");
  ASSERT_NE(paging, nullptr);
  EXPECT_EQ(paging->dword, 0u);

  EXPECT_TRUE(f.form1().Visible());
  EXPECT_TRUE(f.form2().Loaded());
  EXPECT_FALSE(f.form2().Visible());
  EXPECT_TRUE(f.form3().Loaded());
  EXPECT_FALSE(f.form3().Visible());
}

TEST(Startup, KernelMemoryUseDecidesThePagingValueAtEveryStart) {
  const std::pair<const char*, uint32_t> cases[] = {
      {"1", 1}, {"0", 0}, {"1.5", 2}, {"abc", 0}, {"-1", 0xFFFFFFFF}};
  for (const auto& [text, dword] : cases) {
    AppFixture f;
    f.SetSetting("KernelMemoryUse", text);
    f.Start();
    const auto* paging =
        f.registry.Find(RegistryRoot::LocalMachine, settings::kMemoryManagementKey, "DisablePagingExecutive");
    ASSERT_NE(paging, nullptr) << text;
    EXPECT_EQ(paging->dword, dword) << text;
  }
}

TEST(Startup, RefusedMachineWritesAndOddSettingsDoNotStopIt) {
  AppFixture f;
  f.registry.refuseLocalMachine = true;
  f.SetSetting("AutoOptimize", "yes please");
  f.SetSetting("Interval", "");
  f.SetSetting("TrayAtStart", "1e400");
  f.memory.totalBytes.reset();  // the installed memory cannot be learned
  f.Start();
  EXPECT_EQ(f.Setting("AutoOptimize"), "yes please");  // kept as it is
  EXPECT_EQ(f.Setting("Interval"), "50");              // empty reads as the default
  EXPECT_EQ(f.form1().Optimization().Figures().z18, 0);
  EXPECT_EQ(f.form1().State(), ui::WindowState::Minimized);  // 1e400 is not 0
  EXPECT_EQ(f.registry.Find(RegistryRoot::LocalMachine, settings::kMemoryManagementKey, "LargeSystemCache"),
            nullptr);
  f.timers.Advance(60'000);  // "AutoOptimize" is not a number: no automatic pass is due
  EXPECT_EQ(f.machine.listings, 0);
}

TEST(Startup, DerivedFigures) {
  AppFixture f;
  f.memory.totalBytes = 4294967296ull;
  f.memory.load = 45;
  f.Start();
  EXPECT_DOUBLE_EQ(f.form1().Optimization().Figures().z18, 2252.8);  // (100 - 45) x 4194304 / 100 / 1024
}

TEST(Startup, MachineFactsFromTheInstalledMemoryAndTheVersion) {
  struct Case {
    std::optional<uint64_t> totalBytes;
    uint32_t version;
    app::MachineFacts facts;
  };
  const Case cases[] = {
      {4294967296ull, fakes::FakeMemoryApi::VersionOf(6, 1), {4194304.0, 4096, true}},
      {3221749760ull, fakes::FakeMemoryApi::VersionOf(10, 0), {3146240.0, 3072, false}},  // 3072.5 to even
      {std::nullopt, fakes::FakeMemoryApi::VersionOf(6, 2), {0, 0, false}},
  };
  for (const Case& c : cases) {
    fakes::FakeMemoryApi memory;
    memory.totalBytes = c.totalBytes;
    memory.version = c.version;
    const app::MachineFacts facts = app::ReadMachineFacts(memory);
    EXPECT_DOUBLE_EQ(facts.TotalMem, c.facts.TotalMem);
    EXPECT_EQ(facts.TotalPhysMB, c.facts.TotalPhysMB);
    EXPECT_EQ(facts.IsWindows7, c.facts.IsWindows7);
  }
}

TEST(Startup, WindowsSevenOnlyAddsTheThumbnailButtons) {
  const std::pair<uint32_t, bool> versions[] = {{fakes::FakeMemoryApi::VersionOf(6, 1), true},
                                                {fakes::FakeMemoryApi::VersionOf(6, 0), false},
                                                {fakes::FakeMemoryApi::VersionOf(6, 2), false},
                                                {fakes::FakeMemoryApi::VersionOf(10, 0), false}};
  for (const auto& [version, seven] : versions) {
    AppFixture f;
    f.memory.version = version;
    f.form1().img = {0, 0x11, 0x12, 0x13, 0};
    f.Start();
    auto buttons = f.taskbar->Named("buttons");
    ASSERT_EQ(buttons.size(), seven ? 1u : 0u);
    if (seven) {
      EXPECT_EQ(buttons[0].window, fakes::kForm1Window);
      EXPECT_EQ(buttons[0].values, (std::vector<int64_t>{3, 0x11, 0x12, 0x13}));
    }
  }
}

TEST(Startup, TimerFromInterval) {
  struct Case {
    const char* interval;
    int timerMs;
  };
  const Case cases[] = {{"0", 0},      {"10", 10000}, {"11", 10000}, {"50", 10000},
                        {"7.5", 7500}, {"-3", 0},     {"soon", 0}};
  for (const Case& c : cases) {
    AppFixture f;
    f.SetSetting("Interval", c.interval);
    f.Start();
    EXPECT_EQ(f.form1().Timer1.Interval(), c.timerMs) << c.interval;
  }
}

TEST(Startup, SwitchesThatEndTheProcess) {
  {
    AppFixture f;
    EXPECT_THROW(f.Start("/a"), ProcessEnded);
    EXPECT_GT(f.machine.opened.size(), 0u);
    EXPECT_TRUE(f.tray.calls.empty());  // nothing removed from the tray: nothing was added
  }
  {
    AppFixture f;
    f.memory.load = 97;  // no block is taken; the hold still happens
    EXPECT_THROW(f.Start("/b"), ProcessEnded);
    EXPECT_FALSE(f.form2().Timer1.Enabled());
    EXPECT_GE(f.clock.now, 1000000u + 5000u);
  }
}

TEST(Startup, CleanRunsTheAreasNamedOnceAndTellsHowItWent) {
  struct Case {
    const char* line;
    void (*setUp)(fakes::AppFixture&);
    uint32_t exitCode;
    int memoryListCalls;
  };
  const Case cases[] = {
      {"/clean all",
       [](AppFixture& f) {
         f.memory.realVersion = {10, 0};
       },
       0, 4},
      {"/clean StandbyList,registrycache", [](AppFixture&) {}, 0, 1},
      // Windows 7 has no registry flush.
      {"/clean all",
       [](AppFixture& f) {
         f.memory.realVersion = {6, 1};
       },
       1, 3},
      {"/clean StandbyList",
       [](AppFixture& f) { f.machine.answers[fakes::Request::PurgeStandby] = CallResult::Refusal(1314); }, 1,
       1},
      {"/clean bogus", [](AppFixture&) {}, 2, 0},
      {"/clean StandbyList,bogus", [](AppFixture&) {}, 2, 0},
      {"/clean", [](AppFixture&) {}, 2, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    AppFixture f;
    f.memory.realVersion = {10, 0};
    c.setUp(f);
    EXPECT_THROW(f.Start(c.line), ProcessEnded);
    EXPECT_EQ(f.process.exitCode, c.exitCode);
    int lists = 0;
    for (fakes::Request request : f.machine.requests) {
      lists += request != fakes::Request::RegistryFlush && request != fakes::Request::FileCacheLimits &&
               request != fakes::Request::FileCacheRecord;
    }
    EXPECT_EQ(lists, c.memoryListCalls);
    // Never a window, never a box: scripts run it.
    EXPECT_FALSE(f.form1().Visible());
    EXPECT_TRUE(f.dialogs.shown.empty());
    if (c.exitCode == app::kCleanUnknownArea) {
      EXPECT_TRUE(f.machine.requests.empty());
      EXPECT_EQ(f.machine.listings, 0);
      EXPECT_EQ(f.output.written, "");
    } else {
      EXPECT_NE(f.output.written.find("\r\nTotal\t"), std::string::npos);
    }
  }
}

TEST(Startup, WholeTextSwitchesAreExactAndCaseSensitive) {
  for (const char* line : {"/A", "/a /b", " /a", "/trayx", "/U"}) {
    AppFixture f;
    EXPECT_NO_THROW(f.Start(line)) << line;
    EXPECT_EQ(f.machine.listings, 0) << line;
    EXPECT_TRUE(f.dialogs.shown.empty()) << line;
    EXPECT_TRUE(f.form1().Visible()) << line;
  }
}

TEST(Startup, PathSwitchShowsFolderAndNameWithoutExtension) {
  AppFixture f;
  f.environment.programFolder = "C:\\Program Files\\Pravelo";
  f.Start("/u");
  ASSERT_EQ(f.dialogs.shown.size(), 1u);
  EXPECT_EQ(f.dialogs.shown[0].text, "C:\\Program Files\\Pravelo\\pravelo");
  EXPECT_EQ(f.dialogs.shown[0].style, 0u);
  EXPECT_TRUE(f.form1().Visible());
}

TEST(Startup, TraySwitchAddsTheIconAndTheWindowComesBack) {
  AppFixture f;
  f.Start("/tray");
  EXPECT_EQ(f.tray.Count(display::TrayOperation::Add), 1u);
  EXPECT_TRUE(f.tray.present);
  EXPECT_TRUE(f.form1().Visible());  // shown again by the later steps of start-up
  EXPECT_EQ(f.form1().Timer2.Interval(), 590);
  // The move to the tray comes before start-up fills the record: the icon must still be
  // the one that clicks come back from and that refreshes and the unload reach.
  const display::TrayIconData& added = f.tray.calls.front().data;
  EXPECT_EQ(added.hWnd, f.form1().pichook.Handle());
  EXPECT_EQ(added.uID, 1u);
  EXPECT_EQ(added.cbSize, 488u);
  EXPECT_EQ(added.uCallbackMessage, 0x200u);
  EXPECT_THROW(f.form1().Unload(ui::CloseReason::Code), ProcessEnded);
  EXPECT_FALSE(f.tray.present);
}

TEST(Startup, ReportSwitchTexts) {
  const std::pair<const char*, const char*> cases[] = {
      {"/o 1536", "Optimize2 Complete\r\n1536 MB ->1923.07 MB"},
      {"/o", "Optimize2 Complete\r\n MB ->1923.07 MB"},
      {"/oXY1", "Optimize2 Complete\r\nY1 MB ->1923.07 MB"},
  };
  for (const auto& [line, text] : cases) {
    AppFixture f;
    f.Start(line);
    ASSERT_TRUE(f.form1().Status.Contains(1)) << line;
    EXPECT_EQ(f.form1().Status[1].Text(), text);
    EXPECT_TRUE(f.dialogs.shown.empty());
  }
}

// "/q" as the update starts it: the installed program and the digest of the new one.
const std::string kNewDigest = update::Sha256Hex("MZnew");

TEST(Startup, QuickUpdateWritesItsCheckedBytesOverTheTargetAndStartsItQuoted) {
  struct Case {
    std::string line;
    const char* target;
  };
  const Case cases[] = {
      {"/q \"C:\\Program Files\\Pravelo\\pravelo\" " + kNewDigest, "C:\\Program Files\\Pravelo\\pravelo.exe"},
      {"/q D:\\apps\\pravelo.exe  " + kNewDigest, "D:\\apps\\pravelo.exe"},
      {"/q other " + kNewDigest, "C:\\Users\\me\\Temp\\other.exe"},
  };
  for (const Case& c : cases) {
    AppFixture f;
    f.environment.programFolder = "C:\\Users\\me\\Temp";
    f.environment.programBaseName = "Pravelo_tmp";
    f.heldFiles.ownProgram = "MZnew";
    EXPECT_THROW(f.Start(c.line), ProcessEnded) << c.line;
    EXPECT_EQ(f.files.files[c.target], "MZnew") << c.line;
    EXPECT_EQ(f.heldFiles.limits, std::vector<size_t>{64u * 1024 * 1024});
    ASSERT_EQ(f.launcher.started.size(), 1u);
    EXPECT_EQ(f.launcher.started[0].commandLine, std::string("\"") + c.target + "\"");
    EXPECT_EQ(f.launcher.started[0].showStyle, 1);
  }
}

// Another program of the user may have renamed the running file and put its own in its
// place before "/q" read it: what does not match the update's digest is neither written nor
// started, and the installed program stays as it was.
TEST(Startup, QuickUpdateStartsNothingUnlessItsOwnFileMatchesTheDigest) {
  struct Case {
    const char* name;
    std::optional<std::string> ownProgram;
    std::string line;
  };
  const Case cases[] = {
      {"swapped source", "MZswapped", "/q \"C:\\Pravelo\\pravelo\" " + kNewDigest},
      {"unreadable source", std::nullopt, "/q \"C:\\Pravelo\\pravelo\" " + kNewDigest},
      {"no digest", "MZnew", "/q \"C:\\Pravelo\\pravelo\""},
      {"digest cut short", "MZnew", "/q \"C:\\Pravelo\\pravelo\" " + kNewDigest.substr(1)},
      {"digest not hex", "MZnew", "/q \"C:\\Pravelo\\pravelo\" x" + kNewDigest.substr(1)},
      {"no target", "MZnew", "/q " + kNewDigest},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AppFixture f;
    f.environment.programFolder = "C:\\Users\\me\\Temp";
    f.environment.programBaseName = "Pravelo_tmp";
    f.heldFiles.ownProgram = c.ownProgram;
    f.files.files["C:\\Pravelo\\pravelo.exe"] = "MZold";
    EXPECT_THROW(f.Start(c.line), ProcessEnded);
    EXPECT_EQ(f.files.files["C:\\Pravelo\\pravelo.exe"], "MZold");
    EXPECT_EQ(f.files.replaceCalls, 0);
    EXPECT_TRUE(f.launcher.started.empty());
  }
}

// The update starts the new copy while the old program is still ending; its file cannot be
// overwritten until then.
TEST(Startup, QuickUpdateWaitsForTheTargetToBeFreeButNotForEver) {
  struct Case {
    int busyPauses;  // how many pauses the target stays in use; -1: it never comes free
    bool replaced;
    uint64_t waitedAtMostMs;
  };
  const Case cases[] = {{0, true, 0}, {5, true, 500}, {-1, false, 10000}};
  for (const Case& c : cases) {
    AppFixture f;
    f.environment.programFolder = "C:\\Users\\me\\Temp";
    f.environment.programBaseName = "Pravelo_tmp";
    f.heldFiles.ownProgram = "MZnew";
    f.files.files["C:\\Pravelo\\pravelo.exe"] = "MZold";
    f.files.replaceFails = c.busyPauses != 0;
    int pauses = 0;
    f.clock.onSleep = [&] {
      if (++pauses == c.busyPauses) f.files.replaceFails = false;
    };
    const uint64_t start = f.clock.now;
    EXPECT_THROW(f.Start("/q \"C:\\Pravelo\\pravelo\" " + kNewDigest), ProcessEnded);
    EXPECT_EQ(f.files.files["C:\\Pravelo\\pravelo.exe"], c.replaced ? "MZnew" : "MZold") << c.busyPauses;
    EXPECT_LE(f.clock.now - start, c.waitedAtMostMs) << c.busyPauses;
    EXPECT_GE(f.clock.now - start, c.waitedAtMostMs - (c.busyPauses < 0 ? 100u : 0u)) << c.busyPauses;
    // The target starts either way: the old version is better than none.
    ASSERT_EQ(f.launcher.started.size(), 1u);
    EXPECT_EQ(f.launcher.started[0].commandLine, "\"C:\\Pravelo\\pravelo.exe\"");
  }
}

TEST(Startup, QuickUpdateOntoItselfStartsAtOnce) {
  AppFixture f;
  f.environment.programFolder = "C:\\Pravelo";
  f.environment.programBaseName = "pravelo";
  f.heldFiles.ownProgram = "MZnew";
  f.files.replaceFails = true;  // as replacing a running program does
  const uint64_t start = f.clock.now;
  EXPECT_THROW(f.Start("/q PRAVELO " + kNewDigest), ProcessEnded);
  EXPECT_EQ(f.clock.now, start);
  ASSERT_EQ(f.launcher.started.size(), 1u);
}

TEST(Startup, FirstRefreshAndTrayRecord) {
  AppFixture f;
  f.Start();
  const app::Form1& form = f.form1();
  ASSERT_FALSE(f.graph.calls.empty());
  EXPECT_EQ(f.graph.calls[0], (fakes::FakeGraphCanvas::Call{"point", 0, 153}));
  EXPECT_EQ(form.Tray().Record().cbSize, 488u);
  EXPECT_EQ(form.Tray().Record().hWnd, fakes::kPichookWindow);
  EXPECT_EQ(form.Tray().Record().uID, 1u);
  EXPECT_EQ(form.Tray().Record().uFlags, 0x17u);
  EXPECT_EQ(form.Tray().Record().uCallbackMessage, 0x200u);
  EXPECT_EQ(form.Tray().Record().szTip.size(), 128u);
  EXPECT_EQ(form.Label1.Text(), "45%");
  EXPECT_FALSE(form.Timer1.Tag().empty());
  EXPECT_TRUE(f.tray.calls.empty());  // start-up fills the record but adds nothing
}

}  // namespace
}  // namespace pravelo
