// The windows' captions from the string table.
#pragma once

#include "settings/string_table.h"

namespace pravelo::app {
class Form1;
}
namespace pravelo::simple {
class Form3;
}

namespace pravelo::settings {

class Form2;

// Sets the captions of the three windows; loads, hidden, a window not loaded yet.
void ApplyCaptions(StringTable& strings, app::Form1& form1, Form2& form2, simple::Form3& form3);

}  // namespace pravelo::settings
