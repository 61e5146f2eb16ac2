// The main window's table of controls, for code that reads the table without the window.
#pragma once

#include <span>

#include "ui/control_table.h"

namespace pravelo::app {

class Form1;
std::span<const ui::ControlRow<Form1>> Form1Controls();

}  // namespace pravelo::app
