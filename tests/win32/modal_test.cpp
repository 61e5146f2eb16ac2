#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>

#include "ui_test_support.h"

namespace pravelo::ui::testing {
namespace {

FormOptions OwnerOptions() {
  FormOptions options = BoundTestForm::DefaultOptions();
  options.className = L"Pravelo.TestOwner";
  return options;
}

// Both windows share one pump, as the program's do.
class ModalTest : public ::testing::Test {
 protected:
  ModalTest() {
    modal.window =
        std::make_unique<FormWindow>(BindContext{GetModuleHandleW(nullptr), owner.pump, owner.pictures}, form,
                                     BoundTestForm::DefaultOptions());
    modal.window->AddTimer(closer);
  }
  ~ModalTest() override { modal.window.reset(); }

  struct Modal {
    std::unique_ptr<FormWindow> window;
  };
  BoundTestForm owner{OwnerOptions()};
  TestForm form;
  Timer closer{50, true};
  Modal modal;
};

TEST_F(ModalTest, ReturnsWhenTheFormHidesItselfWithTheOwnerDisabledMeanwhile) {
  owner.form.Show();
  HWND ownerWindow = Hwnd(owner.form);
  int ownerTicks = 0;
  owner.form.timer.onTimer = [&] { ++ownerTicks; };
  owner.form.timer.SetInterval(20);
  owner.form.timer.SetEnabled(true);

  int ticks = 0;
  bool ownerEnabledDuring = true;
  HWND ownerOfModal = nullptr;
  closer.onTimer = [&] {
    ownerEnabledDuring = IsWindowEnabled(ownerWindow);
    ownerOfModal = GetWindow(Hwnd(form), GW_OWNER);
    if (++ticks < 5) return;
    closer.SetEnabled(false);
    form.Hide();
  };
  form.ShowModal(&owner.form);

  EXPECT_EQ(ticks, 5);
  EXPECT_FALSE(ownerEnabledDuring);
  EXPECT_EQ(ownerOfModal, ownerWindow);
  EXPECT_GT(ownerTicks, 0) << "the owner's timers run on";
  EXPECT_TRUE(IsWindowEnabled(ownerWindow));
  EXPECT_FALSE(IsWindowVisible(Hwnd(form)));
  EXPECT_TRUE(form.Loaded());
}

TEST_F(ModalTest, ReturnsWhenTheFormUnloadsAndCanRunAgain) {
  owner.form.Show();
  int runs = 0;
  closer.onTimer = [&] {
    ++runs;
    form.Unload();
  };
  form.ShowModal(&owner.form);
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(form.Loaded());
  EXPECT_TRUE(IsWindowEnabled(Hwnd(owner.form)));

  // Loaded again, the new window and timer serve a second modal run; no owner this time.
  form.ShowModal(nullptr);
  EXPECT_EQ(runs, 2);
  EXPECT_FALSE(form.Loaded());
}

}  // namespace
}  // namespace pravelo::ui::testing
