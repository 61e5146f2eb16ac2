// The program: the Windows adapters of every port, the three windows bound to their
// models, then the main window's load, which is the whole start-up, and the message loop.
#include <windows.h>

#include "app/application.h"
#include "app/application_binding_win32.h"
#include "display/graph_canvas_win32.h"
#include "display/icon_canvas_win32.h"
#include "display/tray_api_win32.h"
#include "display/window_region_win32.h"
#include "platform/clock_win32.h"
#include "platform/dialogs_win32.h"
#include "platform/environment_api_win32.h"
#include "platform/file_api_win32.h"
#include "platform/held_file_api_win32.h"
#include "platform/http_api_win32.h"
#include "platform/memory_api_win32.h"
#include "platform/memory_operations_win32.h"
#include "platform/message_pump_win32.h"
#include "platform/process_control_win32.h"
#include "platform/process_launcher_win32.h"
#include "platform/registry_api_win32.h"
#include "platform/signature_api_win32.h"
#include "platform/standard_output_win32.h"
#include "platform/system_library_win32.h"
#include "platform/watched_registry_win32.h"
#include "settings/language_choice.h"
#include "settings/string_table_win32.h"
#include "taskbar/itaskbarlist3.h"
#include "ui/picture_box_win32.h"
#include "update/own_version_win32.h"
#include "update/update_check.h"

#if defined(__GLIBCXX__)
#include <cstdlib>

// GCC's default terminate handler prints a demangled type name to a console this program
// does not have, and brings the whole demangler into it. Defined here, in the program's own
// object, so the library's never gets linked.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif

namespace {

using namespace pravelo;

// The canvas is drawn in design pixels; at another DPI its window is larger and the
// canvas is stretched to fill it.
void PaintCanvas(display::GraphCanvasWin32& canvas, HDC dc, const RECT& client) {
  canvas.CatchUp();
  canvas.PaintTo(dc, client);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Before anything could load a DLL. Where the system lacks the call, the DLLs that are not
  // in every process are still taken from the system folder by their full paths.
  LoadDllsFromSystemFolderOnly();
  MemoryApiWin32 memory;
  MemoryOperationsWin32 operations;
  RegistryApiWin32 systemRegistry;
  WatchedRegistryWin32 registry(systemRegistry);
  FileApiWin32 files;
  EnvironmentApiWin32 environment;
  ProcessLauncherWin32 launcher;
  ProcessControlWin32 process;
  MessagePumpWin32 pump;
  ClockWin32 clock;
  DialogsWin32 dialogs;
  HttpApiWin32 http(pump);
  SignatureApiWin32 signatures;
  HeldFileApiWin32 heldFiles;
  StandardOutputWin32 output;
  Platform platform{memory, operations, registry, files, environment, launcher,  process,
                    pump,   clock,      dialogs,  http,  signatures,  heldFiles, output};

  settings::StringTableWin32 strings(instance,
                                     settings::ChooseTextLanguage(environment.UserInterfaceLanguage(),
                                                                  settings::ReadLanguageOverride(registry)));
  display::GraphCanvasWin32 graph;
  display::IconCanvasWin32 icon;
  display::TrayApiWin32 tray;
  display::WindowRegionWin32 region;
  display::Surfaces surfaces{graph, icon, tray, region};

  app::Application application(app::Form1Services{platform,
                                                  strings,
                                                  surfaces,
                                                  [] { return std::make_unique<taskbar::ITaskBarList3>(); },
                                                  update::ReadOwnVersion(),
                                                  {},
                                                  std::string(update::TrustedPublicKey())});
  app::Form1& form1 = application.form1;
  auto binding = ui::BindApplication(instance, application, pump);
  ui::SetPaintHook(form1.Picture4, [&graph](HDC dc, const RECT& client) { PaintCanvas(graph, dc, client); });

  // The canvas paints its window once that window exists, which is when the load begins.
  auto load = std::move(form1.onLoad);
  form1.onLoad = [&form1, &graph, load] {
    graph.BindWindow(reinterpret_cast<HWND>(form1.Picture4.Handle()));
    load();
  };
  form1.Load();
  return pump.Run();
}
