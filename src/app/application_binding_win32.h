// The program's three windows bound to their models: what wWinMain calls before the main
// window loads. The display code reaches the windows through the models' Handle() and
// paints the graph canvas through SetPaintHook. It lives beside the application because it
// reaches into the main window's controls, which nothing outside app/ sees.
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "platform/gdi_win32.h"
#include "platform/message_pump_win32.h"
#include "pravelo_version.h"
#include "ui/form_window_win32.h"
#include "ui/global_hotkey_win32.h"
#include "ui/picture_library_win32.h"

namespace pravelo::app {
struct Application;
}

namespace pravelo::ui {

inline constexpr wchar_t kForm1Class[] = L"" PRAVELO_MAIN_CLASS;
inline constexpr wchar_t kForm2Class[] = L"" PRAVELO_PRODUCT_NAME ".Form2";
inline constexpr wchar_t kForm3Class[] = L"" PRAVELO_PRODUCT_NAME ".Form3";
inline constexpr wchar_t kAreasClass[] = L"" PRAVELO_PRODUCT_NAME ".Areas";
inline constexpr wchar_t kAutomationClass[] = L"" PRAVELO_PRODUCT_NAME ".Automation";
inline constexpr wchar_t kLanguageClass[] = L"" PRAVELO_PRODUCT_NAME ".Language";

class ApplicationBinding {
 public:
  // Binds every control and timer and loads the thumbnail icons into Form1::img; no window
  // exists until a form loads. The application must outlive the binding.
  ApplicationBinding(HINSTANCE instance, app::Application& application, MessagePumpWin32& pump);
  ApplicationBinding(const ApplicationBinding&) = delete;
  ApplicationBinding& operator=(const ApplicationBinding&) = delete;
  ~ApplicationBinding();

  PictureLibrary& Pictures() { return pictures_; }

 private:
  void BindForm1(app::Application& application);
  void BindForm3(app::Application& application);

  HINSTANCE instance_;
  MessagePumpWin32& pump_;
  PictureLibrary pictures_;
  std::array<UniqueIcon, 3> thumbnailIcons_;
  std::unique_ptr<FormWindow> form1_, form2_, form3_, areas_, automation_, language_;
  std::unique_ptr<GlobalHotkeyWin32> hotkey_;
};

std::unique_ptr<ApplicationBinding> BindApplication(HINSTANCE instance, app::Application& application,
                                                    MessagePumpWin32& pump);

}  // namespace pravelo::ui
