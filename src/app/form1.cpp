#include "app/form1.h"

#include "base/numeric.h"
#include "memory/deep_pass.h"
#include "memory/memory_status.h"
#include "memory/optimizer.h"
#include "pravelo_version.h"
#include "settings/automation_settings.h"
#include "settings/form2.h"
#include "simple/form3.h"
#include "ui/layout.h"

namespace pravelo::app {
namespace {

namespace layout = ui::layout::form1;

#ifdef PRAVELO_TEST_HOOKS
constexpr int32_t kLongestPassDelayMs = 10'000;
#endif

std::unique_ptr<ui::Button> CopyButton(const ui::Button& from) {
  auto button = std::make_unique<ui::Button>(from.Bounds(), from.Text());
  button->SetVisible(false);
  return button;
}

std::unique_ptr<ui::Timer> CopyTimer(const ui::Timer& from) {
  return std::make_unique<ui::Timer>(from.Interval(), from.Enabled());
}

std::unique_ptr<ui::Button> NotificationTemplate() {
  auto button = std::make_unique<ui::Button>(layout::Status);
  button->SetVisible(false);
  return button;
}

}  // namespace

// Design captions are the Korean texts; start-up replaces them from the string table.
Form1::Form1(Form1Services services, settings::Form2& form2, simple::Form3& form3)
    : ui::Form(layout::kWindow, PRAVELO_PRODUCT_NAME),
      Command1(layout::Command1, "최적화"),
      Command2(layout::Command2, "트레이로 보내기"),
      Command3(layout::Command3, "옵"),
      Command5(layout::Command5, "최소화"),
      Command7(layout::Command7, "심플 모드"),
      Command8(layout::Command8, "극도최적화"),
      Command10(layout::Command10, "극도최적화란?"),
      Status(NotificationTemplate(), CopyButton),
      msgtimer(std::make_unique<ui::Timer>(kNotificationMs, false), CopyTimer),
      Label1(layout::Label1, "0%"),
      Label2(layout::Label2),
      Label5(layout::Label5, "0%"),
      Picture1(layout::Picture1),
      Picture2(layout::Picture2, ui::Picture::IconStrip),
      Picture3(layout::Picture3, ui::Picture::BarGreen),
      Picture4(layout::Picture4, ui::Picture::Grid),
      Picture5(layout::Picture5, ui::Picture::Logo),
      Picture6(layout::Picture6, ui::Picture::BarGrey),
      tmppc(layout::tmppc, ui::Picture::BarRed),
      pichook(layout::pichook),
      Timer1(0, true),
      Timer2(kRefreshIntervalMs, true),
      openz{"열기", [this] { openz_Click(); }},
      optiz{"최적화", [this] { optiz_Click(); }},
      optnz{"옵션", [this] { optnz_Click(); }},
      endez{"종료", [this] { endez_Click(); }},
      msys{&openz, &optiz, &optnz, &endez},
      services_(services),
      form2_(form2),
      form3_(form3),
      store_(services.platform.registry),
      optimizer_(std::make_unique<memory::Optimizer>(services.platform.operations, services.platform.memory,
                                                     services.platform.clock)),
      deepPass_(services.makeDeepPassBlock
                    ? std::make_unique<memory::DeepPass>(services.platform.memory, services.makeDeepPassBlock)
                    : std::make_unique<memory::DeepPass>(services.platform.memory)) {
  // A cap on the deep pass's fill, for trying it out on a machine one cares about.
  if (std::optional<std::string> cap = services.platform.environment.Variable(kDeepFillLimitVariable)) {
    const double megabytes = NumericValue(*cap);
    if (megabytes > 0) deepPass_->SetFillLimitBytes(static_cast<uint64_t>(megabytes * 1048576.0));
  }
  Picture2.SetVisible(false);
  tmppc.SetVisible(false);
  pichook.SetVisible(false);

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

Form1::~Form1() = default;

bool Form1::OptimizeMemory(const settings::Setting& areasSetting) {
  // Asked for from a message that a running pass or the deep pass let through.
  if (!CanOptimize()) return false;
  memory::PassFigures passFigures{z18, z17};
  RunPass(settings::ReadAreas(store_, areasSetting), passFigures);
  // The refreshes during the pass estimated z18 anew; the pass's measured figures win.
  z18 = passFigures.z18;
  z17 = passFigures.z17;
  return true;
}

bool Form1::CanOptimize() const { return !optimizer_->Running() && Command8.Enabled(); }

std::vector<memory::AreaResult> Form1::RunPass(memory::AreaSet areas, memory::PassFigures& figures) {
  Platform& p = platform();
  // Read at every pass, so that every way to a pass, the start-up switches too, leaves
  // out the same programs.
  optimizer_->SetExclusions(settings::ReadAutomationSettings(store_).exclusions);
  memory::RunOptions options;
  options.yield = [&p] { p.pump.DoEvents(); };
#ifdef PRAVELO_TEST_HOOKS
  // A pause wherever the pass lets messages run, so that tests can watch a slow pass.
  const std::optional<std::string> delayText = p.environment.Variable(kPassDelayVariable);
  const int32_t delayMs = delayText ? WholeNumberIn(*delayText, 0, kLongestPassDelayMs).value_or(0) : 0;
  if (delayMs > 0) {
    options.yield = [&p, delayMs] {
      p.clock.SleepMs(static_cast<uint32_t>(delayMs));
      p.pump.DoEvents();
    };
  }
#endif
  options.runLong = [&p](const std::function<void()>& call) { p.pump.RunBesideMessages(call); };
  return optimizer_->Run(areas, figures, options);
}

void Form1::DeepOptimize() {
  Platform& p = platform();
  deepPass_->DeepOptimize([&p] { p.pump.DoEvents(); },
                          [this, &p] {
                            form2_.Load();
                            form2_.Timer1.SetEnabled(true);
                            while (form2_.Timer1.Enabled()) p.pump.WaitAndDispatch();
                          });
}

std::string Form1::AvailableMemoryText() {
  return memory::GetAvailableMemory(platform().memory).ToText(platform().environment.DecimalSeparator());
}

}  // namespace pravelo::app
