// What the main window hands the other windows: the ports, the settings, the texts and the
// optimizer, and the few things only the main window does, which go back to it.
#pragma once

#include "app/form1_services.h"
#include "app/optimize_command.h"
#include "settings/options_services.h"

namespace pravelo::simple {
class Form3;
}

namespace pravelo::app {

class Form1;

class MainWindowServices final : public settings::OptionsServices {
 public:
  MainWindowServices(Form1& form1, const Form1Services& services, settings::SettingsStore& store,
                     OptimizeCommand& command, simple::Form3& form3);

  Platform& platform() override { return services_.platform; }
  settings::SettingsStore& store() override { return store_; }
  settings::StringTable& strings() override { return services_.strings; }
  memory::Optimizer& optimizer() override { return command_.Optimizer(); }
  base::ExclusiveRun& busy() override { return command_.Gate(); }
  const std::optional<update::Version>& OwnVersion() const override { return services_.ownVersion; }
  const std::string& UpdateKey() const override { return services_.updateKey; }
  ui::Control& SimpleWindow() override;
  bool ApplyAutomation() override;
  void ShowMessage(const std::string& text, settings::MessageKind kind) override;
  [[noreturn]] void EndProgram() override;
  void SettingsSaved() override;

 private:
  Form1& form1_;
  const Form1Services& services_;
  settings::SettingsStore& store_;
  OptimizeCommand& command_;
  simple::Form3& form3_;
};

}  // namespace pravelo::app
