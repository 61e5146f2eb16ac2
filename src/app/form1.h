// The main window: its controls and the handlers they raise, each a short call into the
// controller that decides. Members carry the names the rest of the program knows them by.
#pragma once

#include <array>
#include <memory>

#include "app/auto_optimize.h"
#include "app/command_line.h"
#include "app/form1_controls.h"
#include "app/form1_services.h"
#include "app/machine_facts.h"
#include "app/main_window_services.h"
#include "app/startup_controller.h"
#include "display/notifications.h"
#include "display/refresh_state.h"
#include "display/tray_presence.h"
#include "settings/form2.h"
#include "settings/options_services.h"
#include "simple/form3.h"
#include "ui/control_table.h"
#include "ui/global_hotkey.h"

namespace pravelo::app {

class Form1 : public ui::Form, public simple::SimpleModeHost, private StartupHost {
 public:
  Form1(Form1Services services, settings::Form2& form2, simple::Form3& form3);
  static std::span<const ui::ControlRow<Form1>> Controls() { return Form1Controls(); }
  ui::Button Command1, Command2, Command3, Command5, Command7, Command8, Command10;
  ui::ControlArray<ui::Button> Status;
  ui::ControlArray<ui::Timer> msgtimer;
  ui::Label Label1, Label2, Label5;
  // Graph viewport, its canvas, icon canvas, bar, track, high-load bar, logo, tray receiver.
  ui::PictureBox Picture1, Picture4, Picture2, Picture3, Picture6, tmppc, Picture5, pichook;
  std::array<NativeHandle, 5> img{};  // 16 x 16 icons; 1 to 3 for the thumbnail buttons
  ui::Timer Timer1, Timer2;           // automatic optimization, refresh
  ui::GlobalHotkey hotkey;            // a manual Optimize from anywhere
  ui::MenuItem openz, optiz, optnz, endez;
  std::vector<ui::MenuItem*> msys;
  bool SimpleMode = false;
  void Form_Load(), Form_Resize();
  void Form_QueryUnload(bool& cancel, ui::CloseReason reason);
  [[noreturn]] void Form_Unload();
  void Command1_Click(), Command2_Click(), Command3_Click(), Command7_Click(), Command8_Click(),
      Command10_Click();
  void Command5_Click() { SetWindowState(ui::WindowState::Minimized); }
  void openz_Click(), optnz_Click(), endez_Click();
  void optiz_Click() { OptimizeMemory(); }
  // The tray callback, whose `x` carries the mouse event code, and the thumbnail buttons.
  void pichook_MouseMove(int x), itbar_list3_ButtonPressed(int16_t index);
  void TaskbarCreated(), TaskbarButtonCreated();  // Explorer restarted: icon and buttons gone
  void Timer1_Timer(), UpdateDisplay();
  void Timer2_Timer() { UpdateDisplay(); }
  void hotkey_Pressed() { Command1_Click(); }
  void msgtimer_Timer(int index) { notifications_.Close(index); }
  void Status_Click(int index) { notifications_.Close(index); }
  // A message box when a title is given (even empty), otherwise a notification.
  void MsgBx(const std::string& prompt, int button, std::optional<std::string> title = std::nullopt);

  bool OptimizeMemory() override { return command_.Optimize(PassTrigger::Manual); }
  bool DeepOptimize() override;
  // Puts the saved automation into force; false when another program holds the hotkey.
  bool ApplyAutomation();
  [[noreturn]] void EndProgram() override;
  void MoveToTray() override { Command2_Click(); }
  void CloseMainWindow() override { Unload(ui::CloseReason::Code); }
  void BackToMainWindow() override;
  Dialogs& dialogs() override { return services_.platform.dialogs; }
  OptimizeCommand& Optimization() { return command_; }
  const display::TrayPresence& Tray() const { return tray_; }
  void SettingsSaved();  // the captions and the automatic optimization follow the options
  // What the other windows are given in place of this one.
  settings::OptionsServices& Services() { return windowServices_; }

 private:
  void ShowBox(const std::string& text) override;
  void ClearNotifications() override { notifications_.Clear(); }
  void Notify(const std::string& text) override { MsgBx(text, 0); }
  void UpdateTaskbarButton(int load);
  void UpdateBarsAndLabels(int load);
  Form1Services services_;
  settings::Form2& form2_;
  simple::Form3& form3_;
  settings::SettingsStore store_;
  OptimizeCommand command_;
  AutoOptimize autoOptimize_;
  display::TrayPresence tray_;
  display::Notifications notifications_;
  std::unique_ptr<taskbar::TaskbarList> itbar_list3_;
  display::RefreshState refresh_;
  MachineFacts facts_;
  MainWindowServices windowServices_;
  bool endingProgram_ = false;
};

}  // namespace pravelo::app
