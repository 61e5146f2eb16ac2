#include "app/form1.h"

#include "pravelo_version.h"
#include "settings/automation_settings.h"
#include "settings/form2.h"
#include "simple/form3.h"
#include "text_ids.h"
#include "ui/layout.h"

namespace pravelo::app {
namespace {

namespace layout = ui::layout::form1;

}  // namespace

// In the order the binding creates them, which is also the tab order.
std::span<const ui::ControlRow<Form1>> Form1Controls() {
  using F = Form1;
  using ui::Placement;
  using ui::TextStyle;
  static constexpr ui::ControlRow<F> rows[] = {
      {"Command1", &F::Command1, layout::Command1, IDS_OPTIMIZE},
      {"Command8", &F::Command8, layout::Command8, IDS_OPTIMIZE2},
      {"Command2", &F::Command2, layout::Command2, IDS_MOVE_ON_TRAY},
      {"Command5", &F::Command5, layout::Command5, IDS_MINIMIZE},
      {"Command7", &F::Command7, layout::Command7, IDS_SIMPLE_MODE},
      {"Command3", &F::Command3, layout::Command3, IDS_OPTIONS_BUTTON},
      {"Command10", &F::Command10, layout::Command10, IDS_OPTIMIZE2_QUESTION},
      {"Label1", &F::Label1, layout::Label1, 0, TextStyle::Figure},
      {"Label5", &F::Label5, layout::Label5, 0, TextStyle::Figure},
      {"Label2", &F::Label2, layout::Label2, 0, TextStyle::Centred},
      // Pictures draw no text; theirs is the name a screen reader gives them. The bar lies
      // on its track and touches the graph's first row; the canvas scrolls inside the graph.
      {"Picture3", &F::Picture3, layout::Picture3, IDS_NAME_LOAD_BAR, TextStyle::Plain, Placement::Stacked},
      {"Picture6", &F::Picture6, layout::Picture6, IDS_NAME_LOAD_BAR, TextStyle::Plain, Placement::Stacked},
      {"Picture1", &F::Picture1, layout::Picture1, IDS_NAME_GRAPH, TextStyle::Plain, Placement::Stacked},
      {"Picture4", &F::Picture4, layout::Picture4, IDS_NAME_GRAPH, TextStyle::Plain, Placement::Inside},
      {"Picture5", &F::Picture5, layout::Picture5, IDS_NAME_LOGO},
      {"Picture2", &F::Picture2, layout::Picture2, 0, TextStyle::Plain, Placement::Hidden},
      {"tmppc", &F::tmppc, layout::tmppc, 0, TextStyle::Plain, Placement::Hidden},
      {"pichook", &F::pichook, layout::pichook, 0, TextStyle::Plain, Placement::Hidden},
  };
  return rows;
}

// Design captions are the Korean texts; start-up replaces them from the string table.
Form1::Form1(Form1Services services, settings::Form2& form2, simple::Form3& form3)
    : ui::Form(layout::kWindow, PRAVELO_PRODUCT_NAME),
      Command1({}, "최적화"),
      Command2({}, "트레이로 보내기"),
      Command3({}, "옵"),
      Command5({}, "최소화"),
      Command7({}, "심플 모드"),
      Command8({}, "극도최적화"),
      Command10({}, "극도최적화란?"),
      Status(display::NotificationButtons(layout::Status)),
      msgtimer(display::NotificationTimers()),
      Label1({}, "0%"),
      Label5({}, "0%"),
      Picture4({}, ui::Picture::Grid),
      Picture2({}, ui::Picture::IconStrip),
      Picture3({}, ui::Picture::BarGreen),
      Picture6({}, ui::Picture::BarGrey),
      tmppc({}, ui::Picture::BarRed),
      Picture5({}, ui::Picture::Logo),
      Timer1(0, true),
      Timer2(display::kRefreshIntervalMs, true),
      openz{"열기", [this] { openz_Click(); }},
      optiz{"최적화", [this] { optiz_Click(); }},
      optnz{"옵션", [this] { optnz_Click(); }},
      endez{"종료", [this] { endez_Click(); }},
      msys{&openz, &optiz, &optnz, &endez},
      services_(services),
      form2_(form2),
      form3_(form3),
      store_(services.platform.registry),
      command_(services.platform, store_, services.makeDeepPassBlock),
      autoOptimize_(services.platform, store_, command_),
      tray_(services.surfaces),
      notifications_(*this, Status, msgtimer, services.platform.dialogs),
      windowServices_(*this, services_, store_, command_, form3) {
  ui::PlaceControls(*this, Controls());

  onLoad = [this] { Form_Load(); };
  onQueryUnload = [this](bool& cancel, ui::CloseReason reason) { Form_QueryUnload(cancel, reason); };
  onUnload = [this] { Form_Unload(); };
  onResize = [this] { Form_Resize(); };

  Command1.onClick = [this] { Command1_Click(); };
  Command2.onClick = [this] { Command2_Click(); };
  Command3.onClick = [this] { Command3_Click(); };
  Command5.onClick = [this] { Command5_Click(); };
  Command7.onClick = [this] { Command7_Click(); };
  Command8.onClick = [this] { Command8_Click(); };
  Command10.onClick = [this] { Command10_Click(); };
  Timer1.onTimer = [this] { Timer1_Timer(); };
  Timer2.onTimer = [this] { Timer2_Timer(); };
  hotkey.onPressed = [this] { hotkey_Pressed(); };
}

void Form1::MsgBx(const std::string& prompt, int /*button*/, std::optional<std::string> title) {
  notifications_.MsgBx(prompt, std::move(title));
}

bool Form1::DeepOptimize() {
  Platform& p = services_.platform;
  return command_.DeepOptimize([this, &p] {
    form2_.Load();
    form2_.Timer1.SetEnabled(true);
    while (form2_.Timer1.Enabled()) p.pump.WaitAndDispatch();
  });
}

void Form1::Timer1_Timer() {
  autoOptimize_.Tick(Timer1);
  // The icon canvas keeps what is drawn on it at all times; nothing to make persistent.
  UpdateDisplay();
}

bool Form1::ApplyAutomation() {
  const settings::AutomationSettings automation = settings::ReadAutomationSettings(store_);
  autoOptimize_.Configure(automation);
  if (!automation.hotkey) {
    hotkey.Clear();
    return true;
  }
  if (hotkey.Set(automation.hotkey->modifiers, automation.hotkey->virtualKey)) return true;
  MsgBx(services_.strings.Text(IDS_HOTKEY_TAKEN) + settings::HotkeyText(*automation.hotkey), 0);
  return false;
}

}  // namespace pravelo::app
