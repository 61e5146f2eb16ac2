#include <windows.h>
// After windows.h, which it needs.
#include <oleacc.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/text_win32.h"
#include "program_on_windows.h"
#include "app/captions.h"
#include "text_ids.h"

namespace pravelo {
namespace {

struct ComRelease {
  void operator()(IUnknown* object) const { object->Release(); }
};
struct BstrFree {
  void operator()(OLECHAR* text) const { SysFreeString(text); }
};

// What a screen reader asks the window's client object for its name.
std::wstring AccessibleName(HWND window) {
  IAccessible* raw = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&raw))) ||
      !raw) {
    return L"(no accessible object)";
  }
  std::unique_ptr<IAccessible, ComRelease> accessible(raw);
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  if (accessible->get_accName(self, &name) != S_OK || !name) return L"(no name)";
  std::unique_ptr<OLECHAR, BstrFree> owned(name);
  return std::wstring(name, SysStringLen(name));
}

// The pictures show no text; their names come from the string table as the captions do, so
// a screen reader reads them in the language of the windows.
TEST(AccessibleNames, EveryCaptionedControlAndPictureIsNamedFromTheTable) {
  for (const uint16_t language : {settings::kLanguageEnglish, uint16_t{0x0411}}) {
    testing::ProgramOnWindows program(language);
    program.application.form1.Load();
    app::Application& a = program.application;
    int pictures = 0;
    for (const auto& [control, id] : app::CaptionTable(a.form1, a.form3)) {
      const auto window = reinterpret_cast<HWND>(control->Handle());
      ASSERT_NE(window, nullptr) << id;
      EXPECT_EQ(AccessibleName(window), Widen(program.strings.Text(id))) << language << " " << id;
      if (id == IDS_NAME_GRAPH || id == IDS_NAME_LOAD_BAR || id == IDS_NAME_LOGO) ++pictures;
    }
    EXPECT_EQ(pictures, 6);
    program.binding.reset();
  }
}

}  // namespace
}  // namespace pravelo
