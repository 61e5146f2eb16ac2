#include <gtest/gtest.h>

#include "fakes/app_fixture.h"
#include "settings/captions.h"
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

TEST(Captions, EveryCaptionedControlShowsItsTextInEitherLanguage) {
  for (uint16_t language : {settings::kLanguageEnglish, settings::kLanguageKorean}) {
    fakes::AppFixture f;
    f.strings = fakes::RcStringTable(language);
    f.Start();
    fakes::RcStringTable table(language);
    for (const auto& [control, id] : settings::CaptionTable(f.form1(), f.form2(), f.form3())) {
      EXPECT_FALSE(table.Text(id).empty()) << language << " " << id;
      EXPECT_EQ(control->Text(), table.Text(id)) << language << " " << id;
    }
  }
  fakes::AppFixture english;
  english.Start();
  EXPECT_EQ(english.form1().Command1.Text(), "Optimize");
  EXPECT_EQ(english.form2().Command4.Text(), "Automation...");
  EXPECT_EQ(english.form3().Text(), "Pravelo Simple");
}

}  // namespace
}  // namespace pravelo
