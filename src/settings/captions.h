// The windows' captions from the string table.
#pragma once

#include <utility>
#include <vector>

#include "settings/string_table.h"
#include "ui/controls.h"

namespace pravelo::app {
class Form1;
}
namespace pravelo::simple {
class Form3;
}

namespace pravelo::settings {

class Form2;

// Each captioned control of the three windows with the number of its text, and each visible
// picture with the number of its accessible name.
std::vector<std::pair<ui::Control*, int>> CaptionTable(app::Form1& form1, Form2& form2, simple::Form3& form3);

// Sets the captions of the three windows; loads, hidden, a window not loaded yet.
void ApplyCaptions(StringTable& strings, app::Form1& form1, Form2& form2, simple::Form3& form3);

}  // namespace pravelo::settings
