#include "settings/automation_window.h"

#include <string>

#include "app/form1.h"
#include "settings/automation_settings.h"
#include "text_ids.h"
#include "ui/layout.h"

namespace pravelo::settings {
namespace {

namespace layout = ui::layout::automation;

constexpr uint32_t kExclamationStyle = 48;

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

AutomationWindow::AutomationWindow(app::Form1& form1)
    : ui::Form(layout::kWindow),
      Check1(layout::Check1),
      Text1(layout::Text1),
      Label1(layout::Label1),
      Text2(layout::Text2),
      Label2(layout::Label2),
      Text3(layout::Text3),
      Label3(layout::Label3),
      Text4(layout::Text4),
      Label4(layout::Label4),
      Command1(layout::Command1),
      form1_(form1) {
  onLoad = [this] { Form_Load(); };
  Check1.onClick = [this] { Check1_Click(); };
  Command1.onClick = [this] { Command1_Click(); };
}

void AutomationWindow::Form_Load() {
  StringTable& strings = form1_.strings();
  SetText(strings.Text(IDS_AUTOMATION_TITLE));
  Check1.SetText(strings.Text(IDS_THRESHOLD));
  Label1.SetText(strings.Text(IDS_COOLDOWN));
  Label2.SetText(strings.Text(IDS_HOTKEY));
  Label3.SetText(strings.Text(IDS_EXCLUSIONS));
  Label4.SetText(strings.Text(IDS_DEEP_PASS_NOTE));
  Command1.SetText(strings.Text(IDS_SAVE));

  // What is in force: a value edited by hand into nonsense shows as its default.
  const AutomationSettings settings = ReadAutomationSettings(form1_.store());
  Check1.SetValue(settings.thresholdPercent > 0 ? 1 : 0);
  Text1.SetText(settings.thresholdPercent > 0 ? std::to_string(settings.thresholdPercent) : std::string());
  Check1_Click();
  Text2.SetText(std::to_string(settings.cooldownSeconds));
  Text3.SetText(settings.hotkey ? HotkeyText(*settings.hotkey) : std::string());
  Text4.SetText(settings.exclusionsText);
}

void AutomationWindow::Command1_Click() {
  Platform& p = form1_.platform();
  const AutomationInput input{Check1.Value() != 0, Text1.Text(), Text2.Text(), Text3.Text(), Text4.Text()};
  if (const std::optional<AutomationInputError> error = CheckAutomationInput(input)) {
    p.dialogs.MessageBox(Handle(), form1_.strings().Text(RefusalText(*error)), "Pravelo", kExclamationStyle);
    return;
  }
  std::string message = form1_.strings().Text(IDS_SAVED);
  WriteAutomationSettings(form1_.store(), input);
  if (!form1_.ApplyAutomation()) message += "\r\n" + form1_.strings().Text(IDS_HOTKEY_TAKEN) + Text3.Text();
  p.dialogs.MessageBox(Handle(), message, "Pravelo", 0);
  Unload();
}

}  // namespace pravelo::settings
