#include "simple/form3.h"

#include "pravelo_version.h"
#include "text_ids.h"
#include "ui/layout.h"

namespace pravelo::simple {
namespace {

namespace layout = ui::layout::form3;

constexpr int kKeyF4 = 115;
constexpr int kShiftAlt = 4;
constexpr int kInformationStyle = 64;
// Shown in Korean whatever the table's language.
constexpr const char* kOptimizedText = "최적화가 되었습니다.";

}  // namespace

// In the order the binding creates them, which is also the tab order.
std::span<const ui::ControlRow<Form3>> Form3::Controls() {
  using F = Form3;
  static constexpr ui::ControlRow<F> rows[] = {
      {"Label1", &F::Label1, layout::Label1, 0, ui::TextStyle::Figure},
      {"Picture3", &F::Picture3, layout::Picture3, IDS_NAME_LOAD_BAR},  // named for screen readers
      {"Label2", &F::Label2, layout::Label2, 0, ui::TextStyle::Figure},
      {"Command4", &F::Command4, layout::Command4, IDS_SIMPLE_OPTIMIZE},
      {"Command1", &F::Command1, layout::Command1, IDS_SIMPLE_TRAY},
      {"Command2", &F::Command2, layout::Command2, IDS_SIMPLE_END},
      {"Command3", &F::Command3, layout::Command3, IDS_SIMPLE_TOGGLE},
  };
  return rows;
}

// Design captions are the Korean texts; start-up replaces them from the string table.
Form3::Form3(SimpleModeHost& host)
    : ui::Form(layout::kWindow, PRAVELO_PRODUCT_NAME " 심플"),
      Picture3({}, ui::Picture::BarGreen),
      Label1({}, "0%"),
      Label2({}, "0%"),
      Command4({}, "최적화"),
      Command1({}, "트레이"),
      Command2({}, "닫기"),
      Command3({}, "모드"),
      host_(host) {
  ui::PlaceControls(*this, Controls());
  Command4.onClick = [this] { Command4_Click(); };
  Command1.onClick = [this] { Command1_Click(); };
  Command2.onClick = [this] { Command2_Click(); };
  Command3.onClick = [this] { Command3_Click(); };
  // Closing this window ends the program, as Alt+F4 on it does.
  onQueryUnload = [this](bool& cancel, ui::CloseReason reason) {
    if (reason != ui::CloseReason::User) return;
    cancel = true;
    Form_KeyDown(kKeyF4, kShiftAlt);
  };
}

void Form3::Command4_Click() {
  // Nothing ran, nothing to confirm: another pass was running.
  if (!host_.OptimizeMemory()) return;
  host_.dialogs().MessageBox(Handle(), kOptimizedText, PRAVELO_PRODUCT_NAME, kInformationStyle);
}

void Form3::Command1_Click() { host_.MoveToTray(); }

// End means end: a close that went to the tray would add an icon, and maybe run an
// optimization, only for the process to end under it.
void Form3::Command2_Click() { host_.EndProgram(); }

void Form3::Command3_Click() { host_.BackToMainWindow(); }

void Form3::Form_KeyDown(int keyCode, int shift) {
  if (keyCode == kKeyF4 && shift == kShiftAlt) host_.CloseMainWindow();
}

}  // namespace pravelo::simple
