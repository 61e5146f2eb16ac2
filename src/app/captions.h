// The captions of the three windows of the start-up from the string table.
#pragma once

#include <utility>
#include <vector>

#include "settings/string_table.h"
#include "ui/controls.h"

namespace pravelo::settings {
class Form2;
}
namespace pravelo::simple {
class Form3;
}

namespace pravelo::app {

class Form1;

// The captioned controls of the main and the simple-mode window with the numbers of their
// texts; the options window's are in its own table.
std::vector<std::pair<ui::Control*, int>> CaptionTable(Form1& form1, simple::Form3& form3);

// Sets the captions of the three windows; loads, hidden, a window not loaded yet.
void ApplyCaptions(settings::StringTable& strings, Form1& form1, settings::Form2& form2,
                   simple::Form3& form3);

}  // namespace pravelo::app
