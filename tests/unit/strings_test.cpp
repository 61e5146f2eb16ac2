#include <gtest/gtest.h>

#include <set>

#include "app/captions.h"
#include "declared_windows.h"
#include "fakes/app_fixture.h"
#include "settings/language_choice.h"
#include "settings/string_table.h"

namespace pravelo {
namespace {

TEST(StringTable, BothLanguagesDefineTheSameNumbers) {
  const auto tables = fakes::ReadStringScript();
  ASSERT_EQ(tables.count(settings::kLanguageEnglish), 1u);
  ASSERT_EQ(tables.count(settings::kLanguageKorean), 1u);
  std::vector<int> english, korean;
  for (const auto& [id, text] : tables.at(settings::kLanguageEnglish)) english.push_back(id);
  for (const auto& [id, text] : tables.at(settings::kLanguageKorean)) korean.push_back(id);
  EXPECT_EQ(english, korean);
  for (int id = 101; id <= 140; ++id)
    EXPECT_FALSE(tables.at(settings::kLanguageEnglish).at(id).empty()) << id;
  // The two characters \n stay as they are in the table; only the explanation's reader breaks the line.
  EXPECT_NE(tables.at(settings::kLanguageKorean).at(113).find("\\n"), std::string::npos);
}

TEST(StringTable, LanguageFollowsTheOverrideThenWindowsThenEnglish) {
  constexpr uint16_t kGerman = 0x0407, kJapanese = 0x0411, kChinese = 0x0804, kBrazil = 0x0416;
  struct Case {
    uint16_t interface;
    std::string overrideTag;
    uint16_t shown;
  } cases[] = {
      {0x0412, "", settings::kLanguageKorean},  // Korean, any region, as it always was
      {0x0812, "", settings::kLanguageKorean},
      {0x0409, "", settings::kLanguageEnglish},
      {0x0809, "", settings::kLanguageEnglish},  // English of another region
      {0x0407, "", kGerman},
      {0x0C07, "", kGerman},  // Austrian German: the German table serves every region
      {0x0411, "", kJapanese},
      {0x0804, "", kChinese},
      {0x0404, "", settings::kLanguageEnglish},  // Traditional Chinese is not Simplified
      {0x0816, "", settings::kLanguageEnglish},  // nor is Portugal's Portuguese Brazil's
      {0x0416, "", kBrazil},
      {0x0413, "", settings::kLanguageEnglish},  // Dutch: no table
      {0x0000, "", settings::kLanguageEnglish},
      {0x0412, "de-DE", kGerman},  // the override wins, whatever its case
      {0x0409, "JA", kJapanese},
      {0x0409, "pt-br", kBrazil},
      {0x0409, "zh-CN", kChinese},
      {0x0412, "en-GB", settings::kLanguageEnglish},
      {0x0412, "zh-TW", settings::kLanguageKorean},  // an override without a table: Windows'
      {0x0412, "nl-NL", settings::kLanguageKorean},
      {0x0412, "1041", settings::kLanguageKorean},  // a number where a tag belongs
      {0x0412, "ja JP", settings::kLanguageKorean},
      {0x0412, "ja\\..", settings::kLanguageKorean},
      {0x0412, "ja-" + std::string(81, 'x'), kJapanese},  // as long as a locale name can be
      {0x0412, "ja-" + std::string(82, 'x'), settings::kLanguageKorean},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(settings::ChooseTextLanguage(c.interface, c.overrideTag), c.shown)
        << std::hex << c.interface << " " << c.overrideTag;
  }
}

TEST(StringTable, EveryLanguageHasItsOwnTableAndName) {
  const auto tables = fakes::ReadStringScript();
  std::set<std::string> tags;
  for (const settings::Language& language : settings::Languages()) {
    EXPECT_TRUE(tables.count(language.id)) << language.tag;
    EXPECT_TRUE(tags.insert(language.tag).second) << language.tag;
    EXPECT_EQ(settings::LanguageOfTag(language.tag), &language);
  }
  EXPECT_EQ(tables.size(), 12u);
  EXPECT_EQ(settings::LanguageOfTag("ja-JP")->name, std::string("日本語"));
}

TEST(StringTable, TheOverrideIsReadFromItsOwnKeyAndNeverCreated) {
  fakes::FakeRegistry registry;
  EXPECT_EQ(settings::ReadLanguageOverride(registry), "");
  EXPECT_EQ(registry.Find(RegistryRoot::CurrentUser, "Software\\zEVID\\PraveloDisplay", "Language"), nullptr);
  ASSERT_TRUE(settings::WriteLanguageOverride(registry, "pt-BR"));
  EXPECT_EQ(settings::ReadLanguageOverride(registry), "pt-BR");
  EXPECT_EQ(registry.Find(RegistryRoot::CurrentUser, "Software\\zEVID\\PraveloDisplay", "Language")->text,
            "pt-BR");
}

// Every window's table and title, loaded as the program loads it, in either language.
TEST(Captions, EveryCaptionedControlShowsItsTextInEitherLanguage) {
  for (uint16_t language : {settings::kLanguageEnglish, settings::kLanguageKorean}) {
    fakes::AppFixture f;
    f.strings = fakes::RcStringTable(language);
    f.Start();
    fakes::RcStringTable table(language);
    const auto expect = [&](ui::Control& control, int id, const std::string& name) {
      EXPECT_FALSE(table.Text(id).empty()) << language << " " << name;
      EXPECT_EQ(control.Text(), table.Text(id)) << language << " " << name;
    };
    for (const auto& [control, id] : app::CaptionTable(f.form1(), f.form3())) expect(*control, id, "main");
    testing::ForEachDeclaredWindow([&](const char* name, ui::layout::Size, auto rows, auto window) {
      auto& form = (f.*window)();
      form.Load();
      if constexpr (requires { form.kTitleId; }) expect(form, form.kTitleId, name);
      for (const auto& row : rows) {
        if (row.captionId != 0) expect(ui::ControlOf(form, row), row.captionId, row.name);
      }
    });
  }
  fakes::AppFixture english;
  english.Start();
  EXPECT_EQ(english.form1().Command1.Text(), "Optimize");
  EXPECT_EQ(english.form2().Command4.Text(), "Automation...");
  EXPECT_EQ(english.form3().Text(), "Pravelo Simple");
}

}  // namespace
}  // namespace pravelo
