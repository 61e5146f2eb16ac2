// Every port faked, with virtual time: what a controller is tested on without the windows.
#pragma once

#include "fakes/fake_file_api.h"
#include "fakes/fake_machine.h"
#include "fakes/fake_memory_api.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "fakes/fake_ui.h"
#include "fakes/update_fakes.h"
#include "platform/platform.h"

namespace pravelo::fakes {

struct FakePlatform {
  FakeMemoryApi memory;
  FakeMachine machine;
  FakeRegistry registry;
  FakeFileApi files;
  FakeEnvironment environment;
  FakeLauncher launcher;
  FakeProcessControl process;
  FakeClock clock;
  TimerDriver timers{clock};
  FakePump pump{timers};
  FakeDialogs dialogs;
  FakeHttp http;
  testing::FakeSignatures signatures;
  testing::FakeHeldFiles heldFiles;
  FakeOutput output;
  Platform platform{memory, machine, registry, files, environment, launcher,  process,
                    pump,   clock,   dialogs,  http,  signatures,  heldFiles, output};
};

}  // namespace pravelo::fakes
