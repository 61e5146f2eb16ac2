#include "settings/language_window.h"

#include <string>
#include <vector>

#include "settings/language_choice.h"
#include "text_ids.h"
#include "ui/layout.h"

namespace pravelo::settings {
namespace {

namespace layout = ui::layout::language;

// The list's first item is Windows' own language; the tables follow in their order.
constexpr int kFirstTable = 1;

}  // namespace

std::span<const ui::ControlRow<LanguageWindow>> LanguageWindow::Controls() {
  using W = LanguageWindow;
  using layout::kMargin, layout::kWide;
  static constexpr ui::ControlRow<W> rows[] = {
      {"List1", &W::List1, {kMargin, 10, kWide, 164}},
      {"Label1", &W::Label1, {kMargin, 180, kWide, 30}, IDS_LANGUAGE_NOTE},
      {"Command1", &W::Command1, {layout::kClient.width - kMargin - 75, 214, 75, 25}, IDS_SAVE},
  };
  return rows;
}

LanguageWindow::LanguageWindow(WindowServices& services)
    : SettingsWindow(layout::kWindow, services, SaveMessage::Saved) {
  ui::PlaceControls(*this, Controls());
}

void LanguageWindow::Form_Load() {
  StringTable& strings = services_.strings();
  std::vector<std::string> items{strings.Text(IDS_LANGUAGE_SYSTEM)};
  for (const Language& language : Languages()) items.emplace_back(language.name);
  List1.SetItems(std::move(items));
  // What is stored, as the next start will read it: a tag without a table is Windows'.
  const Language* stored = LanguageOfTag(ReadLanguageOverride(services_.platform().registry));
  List1.SetListIndex(stored ? kFirstTable + static_cast<int>(stored - Languages().data()) : 0);
}

std::optional<std::string> LanguageWindow::Write() {
  const int picked = List1.ListIndex();
  const std::string tag = picked >= kFirstTable ? Languages()[picked - kFirstTable].tag : std::string();
  if (!WriteLanguageOverride(services_.platform().registry, tag)) return std::nullopt;
  return std::string();
}

}  // namespace pravelo::settings
