#include "settings/update_command.h"

#include <vector>

#include "text_ids.h"

namespace pravelo::settings {

void RunUpdateCommand(UpdateCommandHost& host, StringTable& strings, std::span<ui::Control* const> blocked,
                      const std::function<update::UpdateOutcome()>& check) {
  update::UpdateOutcome outcome = update::UpdateOutcome::Failed;
  const bool ran = host.busy().RunExclusive([&] {
    std::vector<bool> wereEnabled;
    for (ui::Control* control : blocked) {
      wereEnabled.push_back(control->Enabled());
      control->SetEnabled(false);
    }
    outcome = check();
    for (std::size_t i = 0; i < blocked.size(); ++i) blocked[i]->SetEnabled(wereEnabled[i]);
  });
  if (!ran) return;
  switch (outcome) {
    case update::UpdateOutcome::UpToDate:
      host.ShowMessage(strings.Text(IDS_UP_TO_DATE), MessageKind::Box);
      break;
    case update::UpdateOutcome::Failed:
      host.ShowMessage(strings.Text(IDS_UPDATE_FAILED), MessageKind::Notice);
      break;
    case update::UpdateOutcome::Started:
      host.EndProgram();
  }
}

}  // namespace pravelo::settings
