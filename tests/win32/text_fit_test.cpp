#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "display/tray_icon.h"
#include "display/tray_icon_data.h"
#include "platform/gdi_win32.h"
#include "platform/text_win32.h"
#include "settings/areas_window.h"
#include "settings/automation_window.h"
#include "settings/language_choice.h"
#include "settings/language_window.h"
#include "settings/string_table_win32.h"
#include "text_ids.h"
#include "ui/control_table.h"
#include "ui/dpi_scale.h"
#include "ui/fonts_win32.h"
#include "ui/layout.h"

namespace pravelo::ui {
namespace {

// What a control keeps of its width for itself, in design pixels: a push button's border and
// focus frame on both sides, a check box's glyph and the gap after it, an edit or list
// box's sunken edge, and a list's item its scroll bar besides.
enum class Kind { Label, Button, CheckBox, Box, ListItem };
int MarginOf(Kind kind) {
  switch (kind) {
    case Kind::Button:
      return 6;
    case Kind::CheckBox:
      return 17;
    case Kind::Box:
      return 8;
    case Kind::ListItem:
      return 8 + 17;
    case Kind::Label:
      break;
  }
  return 0;
}

template <class F, class C>
Kind KindOf(C F::*) {
  if constexpr (std::is_same_v<C, Label>) return Kind::Label;
  if constexpr (std::is_same_v<C, Button>) return Kind::Button;
  if constexpr (std::is_same_v<C, CheckBox>) return Kind::CheckBox;
  return Kind::Box;
}

// The text a control shows in one language, from its table.
using TextOf = std::function<std::string(settings::StringTable&, const settings::Language&)>;

// A control that shows a text of the string table. Every such control has the message
// font, the binding's default.
struct Captioned {
  std::string where;
  Kind kind;
  Rect rect;  // design pixels
  TextOf text;
};

TextOf Caption(int id) {
  return [id](settings::StringTable& strings, const settings::Language&) { return strings.Text(id); };
}

template <class F>
void AddTable(std::vector<Captioned>& rows, const std::string& window, std::span<const ControlRow<F>> table) {
  for (const ControlRow<F>& row : table) {
    if (row.captionId == 0) continue;
    const Kind kind = std::visit([](auto member) { return KindOf(member); }, row.member);
    rows.push_back({window + "." + row.name, kind, row.rect, Caption(row.captionId)});
  }
}

// ---- Interim list: the main, options, simple-mode and Areas windows, taken from the
// captions table (settings/captions.cpp), the Areas window's code and ui/layout.h. Once
// these windows are declared in control tables, replace this block by AddTable calls. ----
std::vector<Captioned> InterimRows() {
  namespace f1 = layout::form1;
  namespace f2 = layout::form2;
  namespace f3 = layout::form3;
  namespace ar = layout::areas;
  std::vector<Captioned> rows = {
      {"Form1.Command1", Kind::Button, f1::Command1, Caption(IDS_OPTIMIZE)},
      {"Form1.Command2", Kind::Button, f1::Command2, Caption(IDS_MOVE_ON_TRAY)},
      {"Form1.Command3", Kind::Button, f1::Command3, Caption(IDS_OPTIONS_BUTTON)},
      {"Form1.Command5", Kind::Button, f1::Command5, Caption(IDS_MINIMIZE)},
      {"Form1.Command7", Kind::Button, f1::Command7, Caption(IDS_SIMPLE_MODE)},
      {"Form1.Command8", Kind::Button, f1::Command8, Caption(IDS_OPTIMIZE2)},
      {"Form1.Command10", Kind::Button, f1::Command10, Caption(IDS_OPTIMIZE2_QUESTION)},
      {"Form2.Check2", Kind::CheckBox, f2::Check2, Caption(IDS_AUTO_OPTIMIZE)},
      {"Form2.Label1", Kind::Label, f2::Label1, Caption(IDS_INTERVAL)},
      {"Form2.Label2", Kind::Label, f2::Label2, Caption(IDS_INTERVAL_NONE)},
      {"Form2.Check5", Kind::CheckBox, f2::Check5, Caption(IDS_MINIMIZE_ON_CLOSE)},
      {"Form2.Check6", Kind::CheckBox, f2::Check6, Caption(IDS_TRAY_AT_START)},
      {"Form2.Check3", Kind::CheckBox, f2::Check3, Caption(IDS_TRAY_ON_MINIMIZE)},
      {"Form2.Check4", Kind::CheckBox, f2::Check4, Caption(IDS_KERNEL_IN_MEMORY)},
      {"Form2.Check1", Kind::CheckBox, f2::Check1, Caption(IDS_AUTOSTART)},
      {"Form2.Command1", Kind::Button, f2::Command1, Caption(IDS_SAVE)},
      {"Form2.Command2", Kind::Button, f2::Command2, Caption(IDS_UPDATE)},
      {"Form2.Command3", Kind::Button, f2::Command3, Caption(IDS_AREAS_BUTTON)},
      {"Form2.Command4", Kind::Button, f2::Command4, Caption(IDS_AUTOMATION_BUTTON)},
      {"Form2.Command5", Kind::Button, f2::Command5, Caption(IDS_LANGUAGE_BUTTON)},
      {"Form3.Command4", Kind::Button, f3::Command4, Caption(IDS_SIMPLE_OPTIMIZE)},
      {"Form3.Command1", Kind::Button, f3::Command1, Caption(IDS_SIMPLE_TRAY)},
      {"Form3.Command2", Kind::Button, f3::Command2, Caption(IDS_SIMPLE_END)},
      {"Form3.Command3", Kind::Button, f3::Command3, Caption(IDS_SIMPLE_TOGGLE)},
      {"Areas.ManualHeader", Kind::Label, ar::ManualHeader, Caption(IDS_MANUAL)},
      {"Areas.AutomaticHeader", Kind::Label, ar::AutomaticHeader, Caption(IDS_AUTOMATIC)},
      {"Areas.ResultHeader", Kind::Label, ar::ResultHeader, Caption(IDS_LAST_OPTIMIZATION)},
      {"Areas.FreedHeader", Kind::Label, ar::FreedHeader, Caption(IDS_FREED)},
      {"Areas.TimeHeader", Kind::Label, ar::TimeHeader, Caption(IDS_TIME)},
      {"Areas.Command1", Kind::Button, ar::Command1, Caption(IDS_SAVE)},
  };
  for (int row = 0; row < static_cast<int>(memory::kAreaCount); ++row) {
    rows.push_back({"Areas.AreaLabel" + std::to_string(row), Kind::Label, ar::AreaLabel(row),
                    Caption(IDS_AREA_WORKING_SETS + row)});
  }
  // The longest texts a result cell shows: the processes' counts, an error, why an area is off.
  const auto result = [&rows](const char* what, TextOf text) {
    rows.push_back({std::string("Areas.Result ") + what, Kind::Label, ar::Result(0), std::move(text)});
  };
  result("counts", [](settings::StringTable& s, const settings::Language&) {
    return settings::AreaResultText(
        {memory::MemoryArea::WorkingSets, memory::AreaOutcome::Partly, 0, 0, {}, {888, 88, 88}}, s);
  });
  result("error", [](settings::StringTable& s, const settings::Language&) {
    return settings::AreaResultText(
        {memory::MemoryArea::StandbyList, memory::AreaOutcome::Failed, 3221225506u, 0, {}, {}}, s);
  });
  result("WOW64", [](settings::StringTable& s, const settings::Language&) {
    return settings::SupportText(memory::AreaSupport::NotUnderWow64, s);
  });
  result("Windows 8.1", [](settings::StringTable& s, const settings::Language&) {
    return settings::SupportText(memory::AreaSupport::NeedsWindows81, s);
  });
  result("not last", Caption(IDS_NOT_IN_LAST_PASS));
  return rows;
}
// ---- End of the interim list. ----

std::vector<Captioned> EveryCaptionedControl() {
  std::vector<Captioned> rows = InterimRows();
  AddTable(rows, "Automation", settings::AutomationWindow::Controls());
  AddTable(rows, "Language", settings::LanguageWindow::Controls());
  // The language list: its first item, and each language's own name in its own script.
  const auto languageRows = settings::LanguageWindow::Controls();
  const Rect list = std::ranges::find_if(languageRows, [](const auto& row) {
                      return row.name == std::string("List1");
                    })->rect;
  rows.push_back({"Language.List1 first item", Kind::ListItem, list, Caption(IDS_LANGUAGE_SYSTEM)});
  rows.push_back({"Language.List1 own name", Kind::ListItem, list,
                  [](settings::StringTable&, const settings::Language& l) { return std::string(l.name); }});
  return rows;
}

// What the text needs and what the control offers, at one DPI: the width on one line, or
// the height of the wrapped lines where a label has room for more than one.
struct Fit {
  int needed;
  int offered;
};

Fit Measure(HDC dc, const Captioned& row, const std::wstring& text, int dpi) {
  const Rect r = ScaleToDpi(row.rect, dpi);
  const int width = r.width - ScaleToDpi(MarginOf(row.kind), dpi);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  if (row.kind == Kind::Label && r.height >= 2 * metrics.tmHeight) {
    RECT box{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    // A word longer than the line is not broken; it sticks out.
    return {box.right > width ? r.height + 1 : static_cast<int>(box.bottom), r.height};
  }
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return {static_cast<int>(size.cx), width};
}

bool HasEveryGlyph(HDC dc, const std::wstring& text) {
  std::vector<WORD> glyphs(text.size());
  if (GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                       GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
    return false;
  }
  return std::find(glyphs.begin(), glyphs.end(), WORD{0xFFFF}) == glyphs.end();
}

// The message font, or where it lacks a script's glyphs, a font of the same size for that
// script, as Windows links one in; Wine links none, so the test picks it by character set.
UniqueFont FontFor(const settings::Language& language, int dpi, bool linked) {
  LOGFONTW description = FontDescription(FontRole::Message, dpi);
  if (linked) {
    switch (language.id & 0x3FF) {
      case LANG_JAPANESE:
        description.lfCharSet = SHIFTJIS_CHARSET;
        break;
      case LANG_CHINESE:
        description.lfCharSet = GB2312_CHARSET;
        break;
      case LANG_KOREAN:
        description.lfCharSet = HANGEUL_CHARSET;
        break;
      default:
        break;
    }
    description.lfFaceName[0] = L'\0';
  }
  return UniqueFont(CreateFontIndirectW(&description));
}

TEST(TextFit, EveryCaptionFitsItsControlInEveryLanguageAtEveryScale) {
  HMODULE module = GetModuleHandleW(nullptr);
  const std::vector<Captioned> rows = EveryCaptionedControl();
  UniqueDc dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  int measured = 0;
  for (const int dpi : {96, 144, 192}) {
    for (const settings::Language& language : settings::Languages()) {
      settings::StringTableWin32 strings(module, language.id);
      std::wstring all;
      for (const Captioned& row : rows) all += Widen(row.text(strings, language));
      UniqueFont font = FontFor(language, dpi, false);
      std::optional<ScopedSelect> selected(std::in_place, dc.Get(), font.Get());
      if (!HasEveryGlyph(dc.Get(), all)) {
        selected.reset();
        font = FontFor(language, dpi, true);
        selected.emplace(dc.Get(), font.Get());
      }
      // Boxes for missing glyphs would be measured instead of the text.
      ASSERT_TRUE(HasEveryGlyph(dc.Get(), all))
          << language.tag << ": no font has its glyphs (scripts/install-deps.sh)";
      for (const Captioned& row : rows) {
        const std::wstring text = Widen(row.text(strings, language));
        ASSERT_FALSE(text.empty()) << language.tag << " " << row.where;
        const Fit fit = Measure(dc.Get(), row, text, dpi);
        EXPECT_LE(fit.needed, fit.offered)
            << language.tag << " " << row.where << " at " << dpi << " DPI: \"" << Narrow(text) << "\" needs "
            << fit.needed << " of " << fit.offered;
        ++measured;
      }
    }
  }
  // Every window's captions: the interim list's and both tables'.
  EXPECT_GE(measured, 3 * 12 * 50);
}

TEST(TextFit, TheTrayTipStaysWithinTheShellsField) {
  for (int load = 0; load <= 100; ++load) {
    // The field holds the tip and its NUL.
    EXPECT_LT(Widen(display::TrayTip(load)).size(), display::kTrayTipLength) << load;
  }
}

}  // namespace
}  // namespace pravelo::ui
