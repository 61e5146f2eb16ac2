// Fakes of the small ports: environment, program start, process end, clock, message
// boxes, HTTP, and the string table read from the resource script.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/environment_api.h"
#include "platform/http_api.h"
#include "platform/process_control.h"
#include "platform/process_launcher.h"
#include "platform/standard_output.h"
#include "settings/string_table.h"

namespace pravelo::fakes {

class FakeEnvironment final : public EnvironmentApi {
 public:
  std::optional<std::string> Variable(std::string_view name) override;
  std::string WindowsFolder() override { return windowsFolder; }
  std::string SystemFolder() override { return systemFolder; }
  std::string ProgramFolder() override { return programFolder; }
  std::string ProgramBaseName() override { return programBaseName; }
  std::string CommandLine() override { return commandLine; }
  std::string DecimalSeparator() override { return decimalSeparator; }
  uint16_t UserInterfaceLanguage() override { return language; }

  // Set by whoever starts the program, so paths must not follow them.
  std::map<std::string, std::string> variables{{"windir", "C:\\planted"}, {"temp", "C:\\planted"}};
  std::string windowsFolder = "C:\\windows";
  std::string systemFolder = "C:\\windows\\system32";
  std::string programFolder = "C:\\Tools";
  std::string programBaseName = "pravelo";
  std::string commandLine;
  std::string decimalSeparator = ".";
  uint16_t language = 1033;
};

class FakeLauncher final : public ProcessLauncher {
 public:
  bool Start(std::string_view commandLine, int showStyle) override {
    started.push_back({std::string(commandLine), showStyle});
    return succeeds;
  }
  struct Start_ {
    std::string commandLine;
    int showStyle;
  };
  std::vector<Start_> started;
  bool succeeds = true;
};

class FakeOutput final : public StandardOutput {
 public:
  void Write(std::string_view text) override { written += text; }
  std::string written;
};

// What EndProcess throws in tests, since nothing after it may run.
struct ProcessEnded {};

class FakeProcessControl final : public ProcessControl {
 public:
  int ended = 0;
  uint32_t exitCode = 0;

 protected:
  void End(uint32_t code) override {
    ++ended;
    exitCode = code;
    throw ProcessEnded{};
  }
};

class FakeClock final : public Clock {
 public:
  uint64_t NowMs() override { return now; }
  // Time passes only by sleeping; `onSleep` sees the clock after each pause.
  void SleepMs(uint32_t ms) override {
    now += ms;
    if (onSleep) onSleep();
  }
  int64_t UtcSeconds() override { return utc; }
  uint64_t now = 1000000;
  int64_t utc = 1798761600;  // 2027-01-01 00:00 UTC
  std::function<void()> onSleep;
};

class FakeDialogs final : public Dialogs {
 public:
  static constexpr WindowId kDesktop = 0xDE5C;
  WindowId DesktopWindow() override { return kDesktop; }
  void MessageBox(WindowId owner, std::string_view text, std::string_view caption, uint32_t style) override {
    shown.push_back({owner, std::string(text), std::string(caption), style});
    if (onShow) onShow();
  }
  struct Box {
    WindowId owner;
    std::string text;
    std::string caption;
    uint32_t style;
  };
  std::vector<Box> shown;
  std::function<void()> onShow;  // what happens while the box is open
};

class FakeHttp final : public HttpApi {
 public:
  std::optional<HttpResponse> Get(std::string_view url, const HttpLimits& limits) override;
  std::map<std::string, HttpResponse> responses;  // by URL; others get no response
  std::vector<std::string> requested;
  int lastTimeoutMs = 0;
  std::function<void()> onGet;  // what runs while a request waits (window messages)
};

// The texts of the generated string table in one language, as the program loads them.
class RcStringTable final : public settings::StringTable {
 public:
  explicit RcStringTable(uint16_t language);
  std::string Text(int id) override;
  const std::map<int, std::string>& Texts() const { return texts_; }

 private:
  std::map<int, std::string> texts_;
};

// Every text of the generated string table, by language.
std::map<uint16_t, std::map<int, std::string>> ReadStringScript();

}  // namespace pravelo::fakes
