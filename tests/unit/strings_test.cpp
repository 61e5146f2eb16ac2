#include <gtest/gtest.h>

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
  for (int id = 101; id <= 140; ++id) EXPECT_FALSE(tables.at(settings::kLanguageEnglish).at(id).empty()) << id;
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

TEST(Captions, AllTwentyThreeFromTheTableInEitherLanguage) {
  for (uint16_t language : {settings::kLanguageEnglish, settings::kLanguageKorean}) {
    fakes::AppFixture f;
    f.strings = fakes::RcStringTable(language);
    f.Start();
    fakes::RcStringTable table(language);
    const std::pair<const ui::Control*, int> expected[] = {
        {&f.form1().Command1, 101}, {&f.form1().Command2, 102},  {&f.form1().Command3, 103},
        {&f.form1().Command5, 105}, {&f.form1().Command7, 107},  {&f.form1().Command8, 108},
        {&f.form1().Command10, 110}, {&f.form2(), 115},          {&f.form2().Check2, 116},
        {&f.form2().Label1, 117},   {&f.form2().Label2, 118},    {&f.form2().Check5, 119},
        {&f.form2().Check6, 120},   {&f.form2().Check3, 121},    {&f.form2().Check4, 137},
        {&f.form2().Check1, 122},   {&f.form2().Command1, 123},  {&f.form2().Command2, 112},
        {&f.form3(), 124},          {&f.form3().Command4, 125},  {&f.form3().Command1, 126},
        {&f.form3().Command2, 127}, {&f.form3().Command3, 128},
    };
    for (const auto& [control, id] : expected) EXPECT_EQ(control->Text(), table.Text(id)) << language << " " << id;
  }
  fakes::AppFixture english;
  english.Start();
  EXPECT_EQ(english.form1().Command1.Text(), "Optimize");
  EXPECT_EQ(english.form3().Text(), "Pravelo Simple");
}

}  // namespace
}  // namespace pravelo
