// The main window: start-up, commands, lifecycle, and the monitoring display it drives.
// Members carry the names the rest of the program knows them by.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "base/exclusive_run.h"
#include "display/auto_schedule.h"
#include "display/graph.h"
#include "display/surfaces.h"
#include "display/tray_icon.h"
#include "display/tray_icon_data.h"
#include "memory/high_load_trigger.h"
#include "platform/platform.h"
#include "settings/area_settings.h"
#include "settings/options_services.h"
#include "settings/settings_store.h"
#include "settings/string_table.h"
#include "taskbar/taskbar_list.h"
#include "ui/control_array.h"
#include "ui/form.h"
#include "ui/global_hotkey.h"
#include "update/version_file.h"

namespace pravelo::memory {
class DeepPass;
class Optimizer;
struct AreaResult;
struct PassFigures;
}
namespace pravelo::settings {
class Form2;
}
namespace pravelo::simple {
class Form3;
}

namespace pravelo::app {

inline constexpr int kRefreshIntervalMs = 170;
inline constexpr int kTrayRefreshIntervalMs = 590;
inline constexpr int kNotificationMs = 2000;
inline constexpr std::string_view kDeepFillLimitVariable = "PRAVELO_DEEP_FILL_LIMIT_MB";
#ifdef PRAVELO_TEST_HOOKS
inline constexpr std::string_view kPassDelayVariable = "PRAVELO_TEST_PASS_DELAY_MS";
#endif

struct Form1Services {
  Platform& platform;
  settings::StringTable& strings;
  display::Surfaces& surfaces;
  std::function<std::unique_ptr<taskbar::TaskbarList>()> makeTaskbarList;
  std::optional<update::Version> ownVersion;  // from the version record; nothing when unreadable
  // Makes the deep pass's blocks; empty for real allocations.
  std::function<std::u16string()> makeDeepPassBlock;
  // The release key the update trusts, X then Y in hexadecimal; empty trusts nothing.
  std::string updateKey;
};

class Form1 : public ui::Form, public settings::OptionsServices {
 public:
  Form1(Form1Services services, settings::Form2& form2, simple::Form3& form3);
  ~Form1() override;

  // --- Controls -----------------------------------------------------------------------
  ui::Button Command1, Command2, Command3, Command5, Command7, Command8, Command10;
  ui::ControlArray<ui::Button> Status;
  ui::ControlArray<ui::Timer> msgtimer;
  ui::Label Label1, Label2, Label5;
  ui::PictureBox Picture1;  // graph viewport
  ui::PictureBox Picture2;  // tray icon canvas (hidden)
  ui::PictureBox Picture3;  // load bar
  ui::PictureBox Picture4;  // graph canvas inside Picture1
  ui::PictureBox Picture5;  // logo
  ui::PictureBox Picture6;  // track behind the bar
  ui::PictureBox tmppc;     // hidden holder of the high-load bar picture
  ui::PictureBox pichook;   // hidden receiver of the tray callbacks
  std::array<NativeHandle, 5> img{};  // 16 x 16 icons; 1 to 3 for the thumbnail buttons
  ui::Timer Timer1;                   // automatic optimization
  ui::Timer Timer2;                   // refresh
  ui::GlobalHotkey hotkey;            // a manual Optimize from anywhere
  ui::MenuItem openz, optiz, optnz, endez;
  std::vector<ui::MenuItem*> msys;

  // --- Values other windows read and write ----------------------------------------------
  double z18 = 0;              // available memory in MB: estimated from the load, or measured by a pass
  std::optional<double> z17;   // written by the standard pass; empty until the first pass
  double zy = 0;
  double TotalMem = 0;
  bool SimpleMode = false;
  display::TrayIconData TrayIconData;
  std::vector<std::string> messageList{std::string()};

  // --- Handlers ------------------------------------------------------------------------
  void Form_Load();
  void Form_QueryUnload(bool& cancel, ui::CloseReason reason);
  void Form_Resize();
  [[noreturn]] void Form_Unload();

  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command5_Click();
  void Command7_Click();
  void Command8_Click();
  void Command10_Click();
  void endez_Click();
  void openz_Click();
  void optiz_Click();
  void optnz_Click();
  // The tray callback: `x` carries the mouse event code.
  void pichook_MouseMove(int x);
  void itbar_list3_ButtonPressed(int16_t index);
  // The shell's taskbar came back (Explorer restarted): the icon and buttons are gone.
  void TaskbarCreated();
  void TaskbarButtonCreated();

  void Timer1_Timer();
  void hotkey_Pressed() { Command1_Click(); }
  void Timer2_Timer() { UpdateDisplay(); }
  void UpdateDisplay();

  // Shows `prompt` in a message box when a title is given (even empty), otherwise as a
  // notification inside the window.
  void MsgBx(const std::string& prompt, int button, std::optional<std::string> title = std::nullopt);
  void msgtimer_Timer(int index);
  void Status_Click(int index) { msgtimer_Timer(index); }

  // --- Shared procedures -------------------------------------------------------------
  // The optimization with the areas of the setting given: the manual ones for every command,
  // the automatic ones for the timer and the load threshold. Whether it ran: a pass asked
  // for while one runs, or while the deep pass runs, does nothing.
  bool OptimizeMemory(const settings::Setting& areasSetting = settings::kManualAreas);
  // Neither a standard pass nor the deep pass runs: a pass asked for now would run.
  bool CanOptimize() const;
  void DeepOptimize();
  // Sets the automatic optimization from "Interval", now: at start-up and after a save.
  void ArmAutoOptimize();
  // Re-reads "AutoOptimize" (the options window's save calls it).
  void ReadAutoOptimizeSwitch();
  // The automation settings, now: the load threshold and the hotkey (every pass reads the
  // exclusions itself). False when another program holds the hotkey, which the main window
  // then says.
  bool ApplyAutomation() override;
  // Ends the program even where a close would move it to the tray: the hand-over to a new
  // instance (the update, the restart after the deep pass) and the simple window's End.
  [[noreturn]] void EndProgram() override;

  bool AutoOptimizeOn = false;
  bool IsWindows7 = false;
  int32_t TotalPhysMB = 0;

  Platform& platform() override { return services_.platform; }
  settings::SettingsStore& store() override { return store_; }
  settings::StringTable& strings() override { return services_.strings; }
  taskbar::TaskbarList* itbar_list3() { return itbar_list3_.get(); }
  memory::Optimizer& optimizer() override { return *optimizer_; }
  const std::optional<update::Version>& OwnVersion() const override { return services_.ownVersion; }
  const std::string& UpdateKey() const override { return services_.updateKey; }
  base::ExclusiveRun& busy() override { return busy_; }
  void ShowMessage(const std::string& text, settings::MessageKind kind) override;
  void SettingsSaved() override;
  ui::Control& SimpleWindow() override;

 private:
  void HandleCommandLine(const CommandLineSwitch& commandSwitch);
  // One pass of the areas, with the exclusions in force and the window served meanwhile.
  std::vector<memory::AreaResult> RunPass(memory::AreaSet areas, memory::PassFigures& figures);
  void QuickUpdate(const std::string& argument);
  // "/clean": the areas named, once, then the end, with an exit code that tells how it went.
  [[noreturn]] void CleanOnce(const std::string& argument);
  void DrawTrayIcon(int load, bool high);
  // The record's size, window, number, flags and callback message.
  void FillTrayRecordFields();
  // The record's icon is owned here: a new one replaces (and destroys) the last.
  void ReplaceRecordIcon(NativeHandle icon);
  // Hands the record to the shell; the icon passed is destroyed after the call.
  bool SendTrayIcon(display::TrayOperation operation);
  void RemoveTrayIcon();
  void UpdateTaskbarButton(int load);
  void UpdateBarsAndLabels(int load);
  std::string AvailableMemoryText();
  void OptimizeOnHighLoad(int load);

  Form1Services services_;
  settings::Form2& form2_;
  simple::Form3& form3_;
  settings::SettingsStore store_;
  std::unique_ptr<memory::Optimizer> optimizer_;
  std::unique_ptr<memory::DeepPass> deepPass_;
  std::unique_ptr<taskbar::TaskbarList> itbar_list3_;

  ui::Picture SavedPicture3 = ui::Picture::None;
  ui::Picture SavedTmppcPicture = ui::Picture::None;
  display::GraphState graph_;
  int16_t RefreshCount = 0;
  int barRegionWidth_ = -1;
  int barRegionHeight_ = -1;
  display::AutoOptimizeSchedule schedule_;
  memory::HighLoadTrigger highLoad_;
  display::TrayIconCache trayCache_;
  bool TrayBusy = false;
  bool inTray_ = false;     // the program sits in the tray (its windows hidden)
  bool trayAdded_ = false;  // the shell has the icon
  bool endingProgram_ = false;
  base::ExclusiveRun busy_;
};

}  // namespace pravelo::app
