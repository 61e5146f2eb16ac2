#include "app/main_window_services.h"

#include "app/form1.h"
#include "simple/form3.h"

namespace pravelo::app {

MainWindowServices::MainWindowServices(Form1& form1, const Form1Services& services,
                                       settings::SettingsStore& store, OptimizeCommand& command,
                                       simple::Form3& form3)
    : form1_(form1), services_(services), store_(store), command_(command), form3_(form3) {}

bool MainWindowServices::ApplyAutomation() { return form1_.ApplyAutomation(); }

void MainWindowServices::ShowMessage(const std::string& text, settings::MessageKind kind) {
  if (kind == settings::MessageKind::Box)
    form1_.MsgBx(text, 0, std::string());
  else
    form1_.MsgBx(text, 0);
}

// Named in full: a virtual call could not promise to end.
void MainWindowServices::EndProgram() { form1_.Form1::EndProgram(); }

void MainWindowServices::SettingsSaved() { form1_.SettingsSaved(); }

ui::Control& MainWindowServices::SimpleWindow() { return form3_; }

}  // namespace pravelo::app
