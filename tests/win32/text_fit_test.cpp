#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "app/form1_controls.h"
#include "display/tray_icon.h"
#include "display/tray_icon_data.h"
#include "platform/gdi_win32.h"
#include "platform/text_win32.h"
#include "settings/areas_window.h"
#include "settings/automation_window.h"
#include "settings/form2.h"
#include "settings/language_choice.h"
#include "settings/language_window.h"
#include "settings/string_table_win32.h"
#include "simple/form3.h"
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

template <class C>
Kind KindOfControl() {
  if constexpr (std::is_same_v<C, Label>) return Kind::Label;
  if constexpr (std::is_same_v<C, Button>) return Kind::Button;
  if constexpr (std::is_same_v<C, CheckBox>) return Kind::CheckBox;
  return Kind::Box;
}
template <class F, class C>
Kind KindOf(C F::*) {
  return KindOfControl<C>();
}
template <class F, class C>
Kind KindOf(Element<F, C>) {
  return KindOfControl<C>();
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
    // A picture's text is only the name a screen reader gives it.
    if (row.captionId == 0 || std::holds_alternative<PictureBox F::*>(row.member)) continue;
    const Kind kind = std::visit([](auto member) { return KindOf(member); }, row.member);
    rows.push_back({window + "." + row.name, kind, row.rect, Caption(row.captionId)});
  }
}

// The longest texts an Areas result cell shows: the processes' counts, an error, why an area
// is off.
void AddAreaResults(std::vector<Captioned>& rows) {
  const Rect cell = layout::areas::Result(0);
  const auto result = [&rows, cell](const char* what, TextOf text) {
    rows.push_back({std::string("Areas.Result ") + what, Kind::Label, cell, std::move(text)});
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
}

std::vector<Captioned> EveryCaptionedControl() {
  std::vector<Captioned> rows;
  AddTable(rows, "Form1", app::Form1Controls());
  AddTable(rows, "Form2", settings::Form2::Controls());
  AddTable(rows, "Form3", simple::Form3::Controls());
  AddTable(rows, "Areas", settings::AreasWindow::Controls());
  AddAreaResults(rows);
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
