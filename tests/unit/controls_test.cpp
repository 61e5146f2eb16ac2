#include <gtest/gtest.h>

#include "ui/controls.h"

namespace pravelo::ui {
namespace {

TEST(ButtonModel, DisabledButtonIgnoresClicks) {
  Button button;
  int clicks = 0;
  button.onClick = [&] { ++clicks; };
  button.Click();
  button.SetEnabled(false);
  button.Click();
  EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace pravelo::ui
