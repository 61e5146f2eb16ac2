#include <gtest/gtest.h>

#include "fakes/app_fixture.h"
#include "pravelo_version.h"
#include "settings/machine_values.h"
#include "update/sha256.h"

namespace pravelo {
namespace {

using fakes::AppFixture;
using fakes::kFixtureUpdateKey;
using fakes::ProcessEnded;

const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

TEST(OptionsLoad, ShowsStoredValuesAndTheMachinePagingValue) {
  AppFixture f;
  f.SetSetting("AutoStart", "1");
  f.SetSetting("AutoOptimize", "0");
  f.SetSetting("MinimizeTray", "0.6");
  f.SetSetting("MinAtClose", "banana");
  f.SetSetting("TrayAtStart", "2");
  f.SetSetting("Interval", "7.5");
  f.SetSetting("KernelMemoryUse", "1");
  f.Start();  // writes DisablePagingExecutive = 1 before the window loads
  settings::Form2& options = f.form2();
  EXPECT_EQ(options.Check1.Value(), 1);
  EXPECT_EQ(options.Check2.Value(), 0);
  EXPECT_EQ(options.Check3.Value(), 1);
  EXPECT_EQ(options.Check4.Value(), 1);
  EXPECT_EQ(options.Check5.Value(), 0);
  EXPECT_EQ(options.Check6.Value(), 1);
  EXPECT_EQ(options.Text1.Text(), "7.5");
  EXPECT_FALSE(options.Text1.Enabled());
  EXPECT_EQ(options.Label3.Text(), "Version " PRAVELO_VERSION_TEXT);
  options.Check2.Click();
  EXPECT_TRUE(options.Text1.Enabled());
}

TEST(OptionsLoad, UnreadableMachineValueShowsUnchecked) {
  AppFixture f;
  f.registry.refuseLocalMachine = true;
  f.Start();
  EXPECT_EQ(f.form2().Check4.Value(), 0);
}

TEST(OptionsSave, WritesEverySettingAndSaysSaved) {
  AppFixture f;
  f.Start();
  settings::Form2& options = f.form2();
  f.form1().Command3_Click();
  options.Check3.Click();
  options.Text1.SetTextFromUser("15");
  options.Command1.Click();
  EXPECT_EQ(f.Setting("MinimizeTray"), "1");
  EXPECT_EQ(f.Setting("Interval"), "15");
  EXPECT_EQ(f.Setting("AutoStart"), "0");
  EXPECT_EQ(f.Setting("AutoOptimize"), "1");
  ASSERT_EQ(f.dialogs.shown.size(), 1u);
  EXPECT_EQ(f.dialogs.shown[0].text, "Saved");
  EXPECT_EQ(f.dialogs.shown[0].caption, "Pravelo");
  EXPECT_EQ(f.dialogs.shown[0].owner, fakes::kForm2Window);
  EXPECT_FALSE(options.Loaded());
  // Re-armed from now: the first pass fifteen seconds after the save.
  f.timers.Advance(14900);
  EXPECT_EQ(f.machine.listings, 0);
  f.timers.Advance(200);
  EXPECT_EQ(f.machine.listings, 1);
}

TEST(OptionsSave, AutostartCopiesAndRegistersOrDeletes) {
  AppFixture f;
  f.files.files["C:\\Tools\\pravelo.exe"] = "MZprogram";
  f.files.files["C:\\Tools\\pravelo_pic.bmp"] = "BMpicture";
  f.registry.SetString(RegistryRoot::LocalMachine, kRun, "Pravelo1", "old");
  f.Start();
  settings::Form2& options = f.form2();
  options.Check1.SetValue(1);
  options.Command1_Click();
  EXPECT_EQ(f.files.files["C:\\windows\\system32\\Pravelo1.exe"], "MZprogram");
  EXPECT_EQ(f.files.files["C:\\windows\\system32\\pravelo_pic.bmp"], "BMpicture");
  EXPECT_EQ(f.registry.Read(RegistryRoot::LocalMachine, kRun, "Pravelo1"),
            "C:\\windows\\system32\\Pravelo1.exe");
  EXPECT_EQ(f.dialogs.shown.back().text, "Saved");

  options.Load();
  options.Check1.SetValue(0);
  options.Command1_Click();
  EXPECT_EQ(f.registry.Read(RegistryRoot::LocalMachine, kRun, "Pravelo1"), std::nullopt);
  EXPECT_EQ(f.files.files.count("C:\\windows\\system32\\Pravelo1.exe"), 1u);  // left in place
  EXPECT_EQ(f.Setting("AutoStart"), "0");
}

TEST(OptionsSave, RunningFromTheSystemCopyIsNoFailure) {
  AppFixture f;
  f.environment.programFolder = "C:\\WINDOWS\\System32";
  f.environment.programBaseName = "Pravelo1";
  f.files.files["C:\\WINDOWS\\System32\\Pravelo1.exe"] = "MZprogram";
  f.Start();
  f.form2().Check1.SetValue(1);
  f.form2().Command1_Click();
  EXPECT_EQ(f.dialogs.shown.back().text, "Saved");
}

TEST(OptionsSave, WithoutAdministratorRightsSavesTheUserPartAndSaysWhatFailed) {
  AppFixture f;
  f.files.files["C:\\Tools\\pravelo.exe"] = "MZprogram";
  f.Start();
  f.registry.refuseLocalMachine = true;
  f.files.copyFails = true;
  f.form2().Check1.SetValue(1);
  f.form2().Check6.SetValue(1);
  f.form2().Command1_Click();
  EXPECT_EQ(f.Setting("TrayAtStart"), "1");
  ASSERT_FALSE(f.dialogs.shown.empty());
  EXPECT_EQ(f.dialogs.shown.back().text, "Saved\r\nAutostart and kernel settings need administrator rights.");
  EXPECT_FALSE(f.form2().Loaded());
}

TEST(OptionsSave, KernelPagingValueAndIntervalKinds) {
  AppFixture f;
  f.Start();
  f.form2().Check4.SetValue(1);
  f.form2().Text1.SetTextFromUser("-4");
  f.form2().Command1_Click();
  const auto* paging = f.registry.Find(RegistryRoot::LocalMachine, settings::kMemoryManagementKey,
                                       settings::kDisablePagingExecutive);
  ASSERT_NE(paging, nullptr);
  EXPECT_EQ(paging->dword, 1u);
  EXPECT_EQ(f.Setting("Interval"), "-4");  // saved as typed
  EXPECT_EQ(f.form1().Timer1.Interval(), 0);
  f.timers.Advance(120000);
  EXPECT_EQ(f.machine.listings, 0);
}

TEST(OptionsSave, UncheckingAutoOptimizeStopsThePassesAtOnce) {
  AppFixture f;
  f.SetSetting("Interval", "5");
  f.Start();
  f.form2().Check2.Click();  // off
  f.form2().Command1_Click();
  f.timers.Advance(60000);
  EXPECT_EQ(f.machine.listings, 0);
}

// The fixture's calendar stands at 2027-01-01.
const std::string kValidUntil = "2027-02-01T00:00:00Z";

// The hand-over ends the program even where a close goes to the tray.
TEST(UpdateButton, ANewVersionStartsAndEndsThisOne) {
  const std::string text =
      "1.4.3,http://h/new.exe," + update::Sha256Hex("MZnew program") + "," + kValidUntil + "\r\n";
  AppFixture f;
  f.SetSetting("MinAtClose", "1");
  f.http.responses["http://update.pravelo.example/version.txt"] = {200, text};
  f.http.responses["http://update.pravelo.example/version.txt.sig"] = {
      200, testing::FakeSignatures::Sign(text, kFixtureUpdateKey)};
  f.http.responses["http://h/new.exe"] = {200, "MZnew program"};
  f.Start();
  EXPECT_THROW(f.form2().Command2.Click(), ProcessEnded);
  ASSERT_EQ(f.launcher.started.size(), 1u);
  EXPECT_EQ(f.launcher.started[0].commandLine,
            "\"C:\\users\\me\\Temp\\fresh0\\Pravelo_tmp.exe\" /q \"C:\\Tools\\pravelo\" " +
                update::Sha256Hex("MZnew program"));
  EXPECT_EQ(f.tray.Count(display::TrayOperation::Add), 0u);
}

// The check dispatches window messages while it waits. No button of the options window
// works meanwhile: a window it opened, or a second check, would hold the first one past its
// minute. Here every window stays open ten minutes, and the check still ends in its minute.
TEST(UpdateButton, NoWindowOpensDuringACheckWhichEndsWithinItsMinute) {
  AppFixture f;
  f.Start();
  constexpr uint64_t kTenMinutesMs = 600000;
  f.dialogs.onShow = [&] { f.clock.now += kTenMinutesMs; };
  f.areasPeer.onModal = f.automationPeer.onModal = [&] { f.clock.now += kTenMinutesMs; };
  settings::Form2& options = f.form2();
  ui::Button* const buttons[] = {&options.Command1, &options.Command2, &options.Command3, &options.Command4};
  std::vector<bool> enabledDuring;
  f.http.onGet = [&] {
    f.clock.now += 1000;
    for (ui::Button* button : buttons) {
      enabledDuring.push_back(button->Enabled());
      button->Click();
    }
    enabledDuring.push_back(f.form3().Enabled());  // its Optimize answers with a message box
  };
  const uint64_t start = f.clock.now;
  options.Command2.Click();  // no server answers: one request, then the failure notice
  EXPECT_LE(f.clock.now - start, 60000u);
  EXPECT_EQ(f.http.requested.size(), 1u);
  EXPECT_EQ(enabledDuring, std::vector<bool>(5, false));
  EXPECT_TRUE(f.dialogs.shown.empty());
  EXPECT_TRUE(f.areasPeer.modalOwners.empty() && f.automationPeer.modalOwners.empty());
  EXPECT_EQ(f.form1().Status[f.form1().Status.UpperBound()].Text(), "Update failed.");
}

}  // namespace
}  // namespace pravelo
