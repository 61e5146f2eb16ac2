// Every port the portable core reaches the operating system through.
#pragma once

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/environment_api.h"
#include "platform/file_api.h"
#include "platform/held_file_api.h"
#include "platform/http_api.h"
#include "platform/memory_api.h"
#include "platform/memory_operations.h"
#include "platform/message_pump.h"
#include "platform/process_control.h"
#include "platform/process_launcher.h"
#include "platform/registry_api.h"
#include "platform/signature_api.h"
#include "platform/standard_output.h"

namespace pravelo {

struct Platform {
  MemoryApi& memory;
  MemoryOperations& operations;
  RegistryApi& registry;
  FileApi& files;
  EnvironmentApi& environment;
  ProcessLauncher& launcher;
  ProcessControl& process;
  MessagePump& pump;
  Clock& clock;
  Dialogs& dialogs;
  HttpApi& http;
  SignatureApi& signatures;
  HeldFileApi& heldFiles;
  StandardOutput& output;
};

}  // namespace pravelo
