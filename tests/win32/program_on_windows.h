// The program's windows bound as the program binds them, on the real Windows adapters,
// with a fake memory whose figures a test sets and a process that never ends.
#pragma once

#include <windows.h>

#include <memory>
#include <stdexcept>

#include "app/application.h"
#include "app/application_binding_win32.h"
#include "display/graph_canvas_win32.h"
#include "display/icon_canvas_win32.h"
#include "display/tray_api_win32.h"
#include "display/window_region_win32.h"
#include "fakes/fake_memory_api.h"
#include "fakes/fake_system.h"
#include "platform/clock_win32.h"
#include "platform/dialogs_win32.h"
#include "platform/environment_api_win32.h"
#include "platform/file_api_win32.h"
#include "platform/held_file_api_win32.h"
#include "platform/http_api_win32.h"
#include "platform/memory_operations_win32.h"
#include "platform/message_pump_win32.h"
#include "platform/process_launcher_win32.h"
#include "platform/registry_api_win32.h"
#include "platform/signature_api_win32.h"
#include "settings/string_table_win32.h"
#include "taskbar/itaskbarlist3.h"

namespace pravelo::testing {

struct ProgramOnWindows {
  class NoEnd final : public ProcessControl {
   protected:
    void End(uint32_t) override { throw std::logic_error("the program ended"); }
  };

  explicit ProgramOnWindows(uint16_t language = settings::kLanguageEnglish)
      : strings(::GetModuleHandleW(nullptr), language) {
    memory.totalBytes = 4ull << 30;
    memory.availableBytes = 2ull << 30;
    memory.load = 45;
    binding = ui::BindApplication(::GetModuleHandleW(nullptr), application, pump);
  }

  fakes::FakeMemoryApi memory;
  MemoryOperationsWin32 operations;
  RegistryApiWin32 registry;
  FileApiWin32 files;
  EnvironmentApiWin32 environment;
  ProcessLauncherWin32 launcher;
  NoEnd process;
  MessagePumpWin32 pump;
  ClockWin32 clock;
  DialogsWin32 dialogs;
  HttpApiWin32 http{pump};
  SignatureApiWin32 signatures;
  HeldFileApiWin32 heldFiles;
  fakes::FakeOutput output;
  Platform platform{memory, operations, registry, files, environment, launcher,  process,
                    pump,   clock,      dialogs,  http,  signatures,  heldFiles, output};
  settings::StringTableWin32 strings;
  display::GraphCanvasWin32 graph;
  display::IconCanvasWin32 icon;
  display::TrayApiWin32 tray;
  display::WindowRegionWin32 region;
  display::Surfaces surfaces{graph, icon, tray, region};
  app::Application application{app::Form1Services{platform,
                                                  strings,
                                                  surfaces,
                                                  [] { return std::make_unique<taskbar::ITaskBarList3>(); },
                                                  update::Version{1, 4, 2},
                                                  {},
                                                  {}}};
  std::unique_ptr<ui::ApplicationBinding> binding;
};

}  // namespace pravelo::testing
