#include <gtest/gtest.h>

#include <vector>

#include "fakes/fake_system.h"
#include "settings/update_command.h"

namespace pravelo::settings {
namespace {

using update::UpdateOutcome;

struct Host final : UpdateCommandHost {
  base::ExclusiveRun gate;
  std::vector<std::pair<std::string, MessageKind>> shown;
  base::ExclusiveRun& busy() override { return gate; }
  void ShowMessage(const std::string& text, MessageKind kind) override { shown.emplace_back(text, kind); }
  [[noreturn]] void EndProgram() override { throw fakes::ProcessEnded(); }
};

TEST(UpdateCommand, TellsTheOutcomeOrEndsForTheNewProgram) {
  struct Case {
    UpdateOutcome outcome;
    std::vector<std::pair<std::string, MessageKind>> shown;
    bool ends;
  };
  const Case cases[] = {
      {UpdateOutcome::UpToDate, {{"This program is up to date.", MessageKind::Box}}, false},
      {UpdateOutcome::Failed, {{"Update failed.", MessageKind::Notice}}, false},
      {UpdateOutcome::Started, {}, true},
  };
  fakes::RcStringTable strings(kLanguageEnglish);
  for (const Case& c : cases) {
    Host host;
    bool ended = false;
    try {
      RunUpdateCommand(host, strings, {}, [&] { return c.outcome; });
    } catch (const fakes::ProcessEnded&) {
      ended = true;
    }
    EXPECT_EQ(ended, c.ends);
    EXPECT_EQ(host.shown, c.shown);
    EXPECT_FALSE(host.gate.Running());
  }
}

// The controls are off while the check waits, and each comes back as it was; a request while
// other work runs does nothing and says nothing.
TEST(UpdateCommand, BlocksControlsMeanwhileAndIsRefusedWhileOtherWorkRuns) {
  fakes::RcStringTable strings(kLanguageEnglish);
  Host host;
  ui::Button enabled, disabled;
  disabled.SetEnabled(false);
  ui::Control* const blocked[] = {&enabled, &disabled};
  std::vector<bool> during;
  int checks = 0;
  const auto check = [&] {
    ++checks;
    during = {enabled.Enabled(), disabled.Enabled()};
    // A second press from a message handled during the wait.
    RunUpdateCommand(host, strings, blocked, [&] { return ++checks, UpdateOutcome::Started; });
    return UpdateOutcome::UpToDate;
  };
  RunUpdateCommand(host, strings, blocked, check);
  EXPECT_EQ(checks, 1);
  EXPECT_EQ(during, (std::vector<bool>{false, false}));
  EXPECT_TRUE(enabled.Enabled());
  EXPECT_FALSE(disabled.Enabled());
  EXPECT_EQ(host.shown.size(), 1u);

  host.gate.RunExclusive([&] { RunUpdateCommand(host, strings, blocked, check); });
  EXPECT_EQ(checks, 1);
  EXPECT_EQ(host.shown.size(), 1u);
}

}  // namespace
}  // namespace pravelo::settings
