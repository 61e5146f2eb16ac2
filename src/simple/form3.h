// The simple-mode window: a load bar, two load labels and four buttons, in place of the
// main window.
#pragma once

#include "simple/simple_mode_host.h"
#include "text_ids.h"
#include "ui/control_table.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace pravelo::simple {

inline constexpr int kSimpleBarFullWidth = 72;

class Form3 : public ui::Form {
 public:
  explicit Form3(SimpleModeHost& host);
  static constexpr int kTitleId = IDS_SIMPLE_TITLE;
  static std::span<const ui::ControlRow<Form3>> Controls();

  ui::PictureBox Picture3;  // load bar
  ui::Label Label1, Label2;
  ui::Button Command4;  // Optz.
  ui::Button Command1;  // Tray
  ui::Button Command2;  // End
  ui::Button Command3;  // Togle

  void Command4_Click();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  // Key codes as a window reports them: 115 is F4; shift state 4 is Alt.
  void Form_KeyDown(int keyCode, int shift);

 private:
  SimpleModeHost& host_;
};

}  // namespace pravelo::simple
