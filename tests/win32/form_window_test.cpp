#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/dpi_scale.h"
#include "ui_test_support.h"

namespace pravelo::ui::testing {
namespace {

class FormWindowTest : public ::testing::Test {
 protected:
  void TearDown() override { bound.pump.DoEvents(); }
  TestForm& form() { return bound.form; }
  int Dpi() const { return bound.window->Dpi(); }
  BoundTestForm bound;
};

TEST_F(FormWindowTest, LoadingCreatesEveryControlFromItsModel) {
  form().Load();
  HWND window = Hwnd(form());
  ASSERT_TRUE(IsWindow(window));
  EXPECT_EQ(ClassOf(window), L"Pravelo.TestForm");
  EXPECT_EQ(TextOf(window), L"Test form");
  EXPECT_FALSE(IsWindowVisible(window));

  struct Expected {
    const Control& model;
    const wchar_t* className;
    const wchar_t* text;
  } controls[] = {
      {form().button, L"Button", L"Press"},       {form().check, L"Button", L"Check"},
      {form().label, L"Static", L"45%"},          {form().text, L"Edit", L"50"},
      {form().viewport, L"Pravelo.Picture", L""}, {form().canvas, L"Pravelo.Picture", L""},
      {form().notes.Template(), L"Button", L""},
  };
  for (const Expected& c : controls) {
    HWND control = Hwnd(c.model);
    ASSERT_TRUE(IsWindow(control)) << Narrow(c.className);
    EXPECT_EQ(_wcsicmp(ClassOf(control).c_str(), c.className), 0) << Narrow(ClassOf(control));
    EXPECT_EQ(TextOf(control), c.text);
    EXPECT_EQ(PlaceOf(control), ScaleToDpi(c.model.Bounds(), Dpi())) << Narrow(c.text);
  }
  EXPECT_EQ(GetParent(Hwnd(form().canvas)), Hwnd(form().viewport));
  EXPECT_FALSE(IsWindowVisible(Hwnd(form().notes.Template())));

  // The window is sized so that its client area is the design client area.
  RECT client, outer;
  GetClientRect(window, &client);
  GetWindowRect(window, &outer);
  EXPECT_EQ(client.right, ScaleToDpi(kTestClient.width, Dpi()));
  EXPECT_EQ(client.bottom, ScaleToDpi(kTestClient.height, Dpi()));
  // The model learns the real outer bounds, centred on the screen.
  EXPECT_EQ(form().Width(), ScaleFromDpi(outer.right - outer.left, Dpi()));
  EXPECT_EQ(form().Left(), outer.left);
  EXPECT_NE(form().Left(), layout::kCentered);
}

TEST_F(FormWindowTest, ModelChangesReachTheWindows) {
  form().Load();
  struct Case {
    const char* what;
    std::function<void()> change;
    std::function<bool()> shown;
  } cases[] = {
      {"button text", [&] { form().button.SetText("최적화"); },
       [&] { return TextOf(Hwnd(form().button)) == L"최적화"; }},
      {"form caption", [&] { form().SetText("Pravelo - 45%"); },
       [&] { return TextOf(Hwnd(form())) == L"Pravelo - 45%"; }},
      {"disabled", [&] { form().button.SetEnabled(false); },
       [&] { return !IsWindowEnabled(Hwnd(form().button)); }},
      {"enabled", [&] { form().button.SetEnabled(true); },
       [&] { return IsWindowEnabled(Hwnd(form().button)) != 0; }},
      {"checked", [&] { form().check.SetValue(1); },
       [&] { return SendMessageW(Hwnd(form().check), BM_GETCHECK, 0, 0) == BST_CHECKED; }},
      {"grayed", [&] { form().check.SetValue(2); },
       [&] { return SendMessageW(Hwnd(form().check), BM_GETCHECK, 0, 0) == BST_INDETERMINATE; }},
      {"cleared", [&] { form().check.SetValue(0); },
       [&] { return SendMessageW(Hwnd(form().check), BM_GETCHECK, 0, 0) == BST_UNCHECKED; }},
      {"edit text", [&] { form().text.SetText("15"); }, [&] { return TextOf(Hwnd(form().text)) == L"15"; }},
      {"width", [&] { form().viewport.SetWidth(37); },
       [&] {
         return PlaceOf(Hwnd(form().viewport)).width == ScaleToDpi(150 + 37, Dpi()) - ScaleToDpi(150, Dpi());
       }},
      {"moved",
       [&] {
         form().label.Move({20, 70, 60, 20});
       },
       [&] {
         return PlaceOf(Hwnd(form().label)) == ScaleToDpi(Rect{20, 70, 60, 20}, Dpi());
       }},
      {"form shown", [&] { form().Show(); }, [&] { return IsWindowVisible(Hwnd(form())) != 0; }},
      {"control hidden", [&] { form().label.SetVisible(false); },
       [&] { return !IsWindowVisible(Hwnd(form().label)); }},
      {"control shown", [&] { form().label.SetVisible(true); },
       [&] { return IsWindowVisible(Hwnd(form().label)) != 0; }},
      {"focus", [&] { form().text.SetFocus(); }, [&] { return GetFocus() == Hwnd(form().text); }},
      {"form hidden", [&] { form().Hide(); }, [&] { return !IsWindowVisible(Hwnd(form())); }},
  };
  for (const Case& c : cases) {
    c.change();
    EXPECT_TRUE(c.shown()) << c.what;
  }
}

TEST_F(FormWindowTest, WhatTheUserDoesReachesTheModelWithoutEcho) {
  int clicks = 0, checkClicks = 0;
  form().button.onClick = [&] { ++clicks; };
  form().check.onClick = [&] { ++checkClicks; };
  form().Show();

  SendMessageW(Hwnd(form().button), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  form().button.SetEnabled(false);
  SendMessageW(Hwnd(form().button), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1) << "a disabled button is not clicked";

  // The box toggles only through the model, whose value the mark then shows.
  SendMessageW(Hwnd(form().check), BM_CLICK, 0, 0);
  EXPECT_EQ(form().check.Value(), 1);
  EXPECT_EQ(SendMessageW(Hwnd(form().check), BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageW(Hwnd(form().check), BM_CLICK, 0, 0);
  EXPECT_EQ(form().check.Value(), 0);
  EXPECT_EQ(SendMessageW(Hwnd(form().check), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(checkClicks, 2);

  // Typing into the box: select all, then characters.
  HWND edit = Hwnd(form().text);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  for (wchar_t c : std::wstring(L"120")) SendMessageW(edit, WM_CHAR, c, 1);
  EXPECT_EQ(form().text.Text(), "120");
  form().text.SetText("7");  // the model's own change is not taken for typing
  EXPECT_EQ(form().text.Text(), "7");
  EXPECT_EQ(TextOf(edit), L"7");
}

TEST_F(FormWindowTest, ResizeEventComesOnceForAUserMinimizeAndNotAgainForTheModels) {
  std::vector<WindowState> resizes;
  form().onResize = [&] { resizes.push_back(form().State()); };
  form().Show();
  ASSERT_TRUE(resizes.empty()) << "showing is no resize";

  // The minimize box sends this.
  SendMessageW(Hwnd(form()), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  PumpFor(bound.pump, std::chrono::milliseconds(100));
  EXPECT_TRUE(IsIconic(Hwnd(form())));
  ASSERT_EQ(resizes.size(), 1u);
  EXPECT_EQ(resizes[0], WindowState::Minimized);
  EXPECT_EQ(form().State(), WindowState::Minimized);

  // The model restores: its own resize event, not a second one from the window.
  resizes.clear();
  form().SetWindowState(WindowState::Normal);
  PumpFor(bound.pump, std::chrono::milliseconds(100));
  EXPECT_FALSE(IsIconic(Hwnd(form())));
  EXPECT_EQ(resizes.size(), 1u);

  // A state set while hidden waits for the next show.
  form().Hide();
  form().SetWindowState(WindowState::Minimized);
  EXPECT_FALSE(IsIconic(Hwnd(form())));
  form().Show();
  EXPECT_TRUE(IsIconic(Hwnd(form())));
  EXPECT_EQ(resizes.size(), 2u);
}

// Counts the colour requests a label sends its parent, one for each painting of its text.
class LabelPaintings {
 public:
  explicit LabelPaintings(HWND label) {
    label_ = label;
    count_ = 0;
    hook_ = SetWindowsHookExW(WH_CALLWNDPROC, &Hook, nullptr, GetCurrentThreadId());
  }
  ~LabelPaintings() { UnhookWindowsHookEx(hook_); }
  int Count() const { return count_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(sent->lParam) == label_)
      ++count_;
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline HWND label_ = nullptr;
  static inline int count_ = 0;
  HHOOK hook_;
};

TEST_F(FormWindowTest, ALabelIsPaintedOnlyForNewTextThatCanBeSeen) {
  form().Show();
  HWND label = Hwnd(form().label);
  LabelPaintings paintings(label);
  PumpFor(bound.pump, std::chrono::milliseconds(100));

  const int before = paintings.Count();
  form().label.SetText("45%");
  PumpFor(bound.pump, std::chrono::milliseconds(100));
  EXPECT_EQ(paintings.Count(), before) << "the same text again";
  form().label.SetText("46%");
  EXPECT_GT(paintings.Count(), before) << "new text in a shown window is painted at once";

  SendMessageW(Hwnd(form()), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  PumpFor(bound.pump, std::chrono::milliseconds(100));
  ASSERT_TRUE(IsIconic(Hwnd(form())));
  const int minimized = paintings.Count();
  form().label.SetText("47%");
  PumpFor(bound.pump, std::chrono::milliseconds(100));
  EXPECT_EQ(paintings.Count(), minimized);
  EXPECT_EQ(TextOf(label), L"47%") << "the window keeps the text";

  form().SetWindowState(WindowState::Normal);
  EXPECT_TRUE(PumpUntil(bound.pump, [&] { return paintings.Count() > minimized; }))
      << "shown again, the label is painted";
  EXPECT_EQ(TextOf(label), L"47%");
}

TEST_F(FormWindowTest, CloseBoxAsksTheModelWhichMayKeepTheWindow) {
  std::vector<CloseReason> asked;
  bool keep = true;
  form().onQueryUnload = [&](bool& cancel, CloseReason reason) {
    asked.push_back(reason);
    cancel = keep;
  };
  form().Show();
  HWND window = Hwnd(form());
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(window));
  EXPECT_TRUE(form().Loaded());

  keep = false;
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(form().Loaded());
  EXPECT_EQ(form().Handle(), 0u);
  EXPECT_EQ(form().button.Handle(), 0u);
  EXPECT_EQ(asked, (std::vector<CloseReason>{CloseReason::User, CloseReason::User}));

  form().Load();
  EXPECT_EQ(SendMessageW(Hwnd(form()), WM_QUERYENDSESSION, 0, 0), TRUE);
  SendMessageW(Hwnd(form()), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(asked.back(), CloseReason::Shutdown);
  EXPECT_FALSE(form().Loaded());
}

TEST_F(FormWindowTest, AnUnloadedFormIsCreatedAgainFromItsModels) {
  form().Load();
  HWND first = Hwnd(form());
  HWND firstButton = Hwnd(form().button);
  form().Unload();
  EXPECT_FALSE(IsWindow(first));
  EXPECT_FALSE(IsWindow(firstButton));

  // Changes while unloaded live in the models and show in the new windows.
  form().button.SetText("Save");
  form().check.SetValue(1);
  form().label.SetEnabled(false);
  form().Show();
  ASSERT_TRUE(IsWindow(Hwnd(form())));
  EXPECT_EQ(TextOf(Hwnd(form().button)), L"Save");
  EXPECT_EQ(SendMessageW(Hwnd(form().check), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_FALSE(IsWindowEnabled(Hwnd(form().label)));
  EXPECT_EQ(GetParent(Hwnd(form().canvas)), Hwnd(form().viewport));
  form().button.SetText("Again");
  EXPECT_EQ(TextOf(Hwnd(form().button)), L"Again");
}

TEST_F(FormWindowTest, ArrayElementsComeAndGoWithTheirWindows) {
  form().Show();
  Button& note = form().notes.Load(1);
  HWND window = Hwnd(note);
  ASSERT_TRUE(IsWindow(window));
  EXPECT_FALSE(IsWindowVisible(window)) << "hidden until the model shows it";
  EXPECT_FALSE(note.Visible());
  EXPECT_EQ(PlaceOf(window), PlaceOf(Hwnd(form().notes.Template())));
  EXPECT_EQ(SendMessageW(window, WM_GETFONT, 0, 0),
            SendMessageW(Hwnd(form().notes.Template()), WM_GETFONT, 0, 0));

  note.SetText("Optimized.512.5MB\r\n1024.25 MB -> 1536.75 MB");
  note.SetHeight(form().TextHeight(note.Text()) + 50);
  note.SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(window));
  // Above the picture it covers.
  EXPECT_EQ(GetTopWindow(Hwnd(form())), window);

  // A click reaches the handler with the element's index; the handler may unload it.
  form().notes.Load(2);
  Button& second = form().notes[2];
  second.SetVisible(true);
  Timer& timer = form().noteTimers.Load(2);
  timer.SetInterval(2000);
  SendMessageW(Hwnd(second), BM_CLICK, 0, 0);
  EXPECT_EQ(bound.clickedNote, 2);

  HWND secondWindow = Hwnd(second);
  second.onClick = [&] {
    form().noteTimers.Unload(2);
    form().notes.Unload(2);
  };
  SendMessageW(secondWindow, BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindow(secondWindow));
  EXPECT_FALSE(form().notes.Contains(2));
  form().notes.Unload(1);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(IsWindow(Hwnd(form().notes.Template())));
}

TEST_F(FormWindowTest, TextHeightCountsEveryLine) {
  form().Load();
  const int one = form().TextHeight("Optimize2 Complete");
  const int two = form().TextHeight("Optimized.512.5MB\r\n1024.25 MB -> 1536.75 MB");
  EXPECT_GT(one, 5);
  EXPECT_EQ(two, 2 * one);
}

TEST_F(FormWindowTest, NewDpiScalesControlsAndFontsButNotTheModel) {
  form().Show();
  HWND label = Hwnd(form().label);
  HFONT oldFont = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
  int resizes = 0;
  form().onResize = [&] { ++resizes; };
  const Rect designBounds = form().Bounds();

  RECT suggested;
  GetWindowRect(Hwnd(form()), &suggested);
  suggested.right = suggested.left + (suggested.right - suggested.left) * 3 / 2;
  suggested.bottom = suggested.top + (suggested.bottom - suggested.top) * 3 / 2;
  SendMessageW(Hwnd(form()), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));

  EXPECT_EQ(Dpi(), 144);
  EXPECT_EQ(PlaceOf(label), ScaleToDpi(form().label.Bounds(), 144));
  EXPECT_EQ(PlaceOf(Hwnd(form().button)), ScaleToDpi(form().button.Bounds(), 144));
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -MulDiv(1425, 144, 7200));
  EXPECT_EQ(GetObjectType(oldFont), 0u) << "the fonts of the old DPI are deleted";
  EXPECT_EQ(resizes, 0);
  EXPECT_EQ(form().Width(), designBounds.width);
  EXPECT_EQ(form().Left(), suggested.left);
  // What the user changes is taken back to design pixels.
  EXPECT_EQ(form().TextHeight("x"), ScaleFromDpi(ScaleToDpi(form().TextHeight("x"), 144), 144));
}

TEST(FormWindowKeys, AltF4AndTheCloseBoxGoToTheFormsOwnHandlers) {
  std::vector<std::pair<int, int>> keys;
  int closeBox = 0;
  FormOptions options = BoundTestForm::DefaultOptions();
  options.onKeyDown = [&](int key, int shift) {
    keys.push_back({key, shift});
    return key == VK_F4 && (shift & 4);
  };
  options.onCloseBox = [&] { ++closeBox; };
  BoundTestForm bound(std::move(options));
  bound.form.Show();
  HWND window = Hwnd(bound.form);

  constexpr LPARAM kAltDown = LPARAM{1} << 29;
  SendMessageW(window, WM_SYSKEYDOWN, VK_F4, kAltDown);
  PumpFor(bound.pump, std::chrono::milliseconds(50));
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0], std::make_pair(115, 4));
  EXPECT_EQ(closeBox, 0) << "handled: no close follows";
  EXPECT_TRUE(IsWindow(window));

  SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  PumpFor(bound.pump, std::chrono::milliseconds(50));
  EXPECT_EQ(closeBox, 1);
  EXPECT_TRUE(bound.form.Loaded());
  EXPECT_TRUE(IsWindow(window));
}

TEST(FormWindowMessages, OwnMessagesAndMouseMovesReachTheirHandlers) {
  BoundTestForm bound;
  std::vector<int> moves;
  PictureBox hook{{0, 0, 1, 1}};
  hook.SetVisible(false);
  bound.window->AddPicture(hook, MouseMoves([&](int x) { moves.push_back(x); }));
  const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  int created = 0;
  bound.window->OnMessage(taskbarCreated, [&](WPARAM, LPARAM) -> LRESULT {
    ++created;
    return 5;
  });
  bound.form.Load();

  // The shell reports tray events as mouse moves whose x is the event.
  PostMessageW(Hwnd(hook), WM_MOUSEMOVE, 1, 0x205);
  PostMessageW(Hwnd(hook), WM_MOUSEMOVE, 1, 0x202);
  EXPECT_TRUE(PumpUntil(bound.pump, [&] { return moves.size() == 2; }));
  EXPECT_EQ(moves, (std::vector<int>{0x205, 0x202}));

  EXPECT_EQ(SendMessageW(Hwnd(bound.form), taskbarCreated, 0, 0), 5);
  EXPECT_EQ(created, 1);
}

}  // namespace
}  // namespace pravelo::ui::testing
