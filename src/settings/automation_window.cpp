#include "settings/automation_window.h"

#include <string>

#include "settings/automation_settings.h"
#include "text_ids.h"
#include "ui/layout.h"

namespace pravelo::settings {
namespace {

namespace layout = ui::layout::automation;

int RefusalText(AutomationInputError error) {
  switch (error) {
    case AutomationInputError::Threshold:
      return IDS_BAD_THRESHOLD;
    case AutomationInputError::Cooldown:
      return IDS_BAD_COOLDOWN;
    case AutomationInputError::Hotkey:
      return IDS_BAD_HOTKEY;
    case AutomationInputError::Exclusions:
      break;
  }
  return IDS_BAD_EXCLUSIONS;
}

}  // namespace

std::span<const ui::ControlRow<AutomationWindow>> AutomationWindow::Controls() {
  using W = AutomationWindow;
  using layout::kMargin, layout::kWide, layout::kNumberLeft, layout::kNumberWidth;
  static constexpr ui::ControlRow<W> rows[] = {
      {"Check1", &W::Check1, {kMargin, 12, 285, 18}, IDS_THRESHOLD},
      {"Text1", &W::Text1, {kNumberLeft, 10, kNumberWidth, 21}},
      {"Label1", &W::Label1, {28, 41, 267, 16}, IDS_COOLDOWN},
      {"Text2", &W::Text2, {kNumberLeft, 38, kNumberWidth, 21}},
      {"Label2", &W::Label2, {kMargin, 70, kWide, 16}, IDS_HOTKEY},
      {"Text3", &W::Text3, {kMargin, 88, 180, 21}},
      {"Label3", &W::Label3, {kMargin, 118, kWide, 16}, IDS_EXCLUSIONS},
      {"Text4", &W::Text4, {kMargin, 136, kWide, 21}},
      {"Label4", &W::Label4, {kMargin, 163, kWide, 30}, IDS_DEEP_PASS_NOTE},
      {"Command1", &W::Command1, {layout::kClient.width - kMargin - 75, 201, 75, 25}, IDS_SAVE},
  };
  return rows;
}

AutomationWindow::AutomationWindow(WindowServices& services)
    : SettingsWindow(layout::kWindow, services, SaveMessage::Saved) {
  ui::PlaceControls(*this, Controls());
  Check1.onClick = [this] { Check1_Click(); };
}

void AutomationWindow::Form_Load() {
  // What is in force: a value edited by hand into nonsense shows as its default.
  const AutomationSettings settings = ReadAutomationSettings(services_.store());
  Check1.SetValue(settings.thresholdPercent > 0 ? 1 : 0);
  Text1.SetText(settings.thresholdPercent > 0 ? std::to_string(settings.thresholdPercent) : std::string());
  Check1_Click();
  Text2.SetText(std::to_string(settings.cooldownSeconds));
  Text3.SetText(settings.hotkey ? HotkeyText(*settings.hotkey) : std::string());
  Text4.SetText(settings.exclusionsText);
}

AutomationInput AutomationWindow::Input() const {
  return {Check1.Value() != 0, Text1.Text(), Text2.Text(), Text3.Text(), Text4.Text()};
}

std::optional<int> AutomationWindow::Refusal() {
  const std::optional<AutomationInputError> error = CheckAutomationInput(Input());
  return error ? std::optional<int>(RefusalText(*error)) : std::nullopt;
}

std::optional<std::string> AutomationWindow::Write() {
  WriteAutomationSettings(services_.store(), Input());
  return services_.ApplyAutomation() ? std::string()
                                     : services_.strings().Text(IDS_HOTKEY_TAKEN) + Text3.Text();
}

}  // namespace pravelo::settings
