#include <gtest/gtest.h>

#include "fakes/app_fixture.h"
#include "settings/language_choice.h"
#include "settings/language_window.h"

namespace pravelo {
namespace {

constexpr std::string_view kDisplayKey = "Software\\zEVID\\PraveloDisplay";

TEST(LanguageWindow, OpensFromTheOptionsWindowWithEachLanguageInItsOwnName) {
  fakes::AppFixture f;
  f.Start();
  EXPECT_EQ(f.form2().Command5.Text(), "Language...");
  f.form2().Command5.Click();
  ASSERT_EQ(f.languagePeer.modalOwners.size(), 1u);
  EXPECT_EQ(f.languagePeer.modalOwners[0], &f.form2());
  const settings::LanguageWindow& w = f.language();
  EXPECT_EQ(w.Text(), "Language");
  EXPECT_EQ(w.Label1.Text(), "The change applies at the next start.");
  ASSERT_EQ(w.List1.Items().size(), settings::Languages().size() + 1);
  EXPECT_EQ(w.List1.Items()[0], "Same as Windows");
  for (const char* name : {"Deutsch", "日本語", "한국어", "中文(简体)", "Português (Brasil)"}) {
    EXPECT_NE(std::find(w.List1.Items().begin(), w.List1.Items().end(), name), w.List1.Items().end()) << name;
  }
}

TEST(LanguageWindow, ShowsTheStoredPickAndSavesTheNewOneForTheNextStart) {
  struct Case {
    const char* stored;  // nullptr: no value
    std::string picked;  // the item the user picks; empty: none
    std::string shown;   // the item picked on opening
    std::string written;
    bool refused = false;  // the user may not write the key
    const char* said = "Saved";
  } cases[] = {
      {nullptr, "Deutsch", "Same as Windows", "de"},
      {"ja-JP", "Same as Windows", "日本語", ""},
      {"pt-br", "", "Português (Brasil)", ""},              // nothing picked: Windows' language
      {"xx-YY", "中文(简体)", "Same as Windows", "zh-CN"},  // an unknown tag shows as Windows'
      {"ja-JP", "Deutsch", "日本語", "ja-JP", true, "Not saved."},
  };
  for (const Case& c : cases) {
    fakes::AppFixture f;
    if (c.stored) f.registry.SetString(RegistryRoot::CurrentUser, kDisplayKey, "Language", c.stored);
    f.Start();
    f.form2().Command5.Click();
    settings::LanguageWindow& w = f.language();
    ASSERT_GE(w.List1.ListIndex(), 0);
    EXPECT_EQ(w.List1.Items()[w.List1.ListIndex()], c.shown) << c.shown;
    const auto& items = w.List1.Items();
    const auto at = std::find(items.begin(), items.end(), c.picked);
    w.List1.SetListIndexFromUser(at == items.end() ? -1 : static_cast<int>(at - items.begin()));
    f.registry.refuseCurrentUser = c.refused;
    w.Command1.Click();
    EXPECT_EQ(f.registry.Read(RegistryRoot::CurrentUser, kDisplayKey, "Language"), c.written) << c.picked;
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].text, c.said);
    EXPECT_EQ(w.Loaded(), c.refused);  // refused, it stays open with the pick in it
    // Only at the next start: the captions stay as they are.
    EXPECT_EQ(f.form1().Command1.Text(), "Optimize");
  }
}

}  // namespace
}  // namespace pravelo
