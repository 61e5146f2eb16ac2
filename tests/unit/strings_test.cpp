#include <gtest/gtest.h>

#include "app/captions.h"
#include "declared_windows.h"
#include "fakes/app_fixture.h"
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

TEST(StringTable, LanguageFollowsAKoreanInterfaceOnly) {
  EXPECT_EQ(settings::ChooseTextLanguage(0x0412), settings::kLanguageKorean);
  EXPECT_EQ(settings::ChooseTextLanguage(0x0812), settings::kLanguageKorean);
  for (uint16_t other : {0x0409, 0x0809, 0x0411, 0x0804, 0x0407, 0x0000}) {
    EXPECT_EQ(settings::ChooseTextLanguage(other), settings::kLanguageEnglish) << other;
  }
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
      expect(form, form.kTitleId, name);
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
