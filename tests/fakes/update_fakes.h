// Small recording fakes of the ports the update check uses.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/environment_api.h"
#include "platform/file_api.h"
#include "platform/http_api.h"
#include "platform/process_launcher.h"

namespace pravelo::testing {

class UpdateFakeHttp final : public HttpApi {
 public:
  std::map<std::string, std::optional<HttpResponse>, std::less<>> responses;  // missing: no answer
  std::vector<std::string> requested;
  std::vector<int> timeouts;

  std::optional<HttpResponse> Get(std::string_view url, int timeoutMs) override {
    requested.emplace_back(url);
    timeouts.push_back(timeoutMs);
    auto found = responses.find(url);
    return found == responses.end() ? std::nullopt : found->second;
  }
};

class UpdateFakeFiles final : public FileApi {
 public:
  std::map<std::string, std::string, std::less<>> files;
  std::set<std::string, std::less<>> unwritable;

  std::optional<std::string> ReadBytes(const std::string& path) override {
    auto found = files.find(path);
    if (found == files.end()) return std::nullopt;
    return found->second;
  }
  bool ReplaceWithBytes(const std::string& path, std::string_view bytes) override {
    if (unwritable.contains(path)) return false;
    files[path] = std::string(bytes);
    return true;
  }
  bool Copy(const std::string& from, const std::string& to) override {
    auto found = files.find(from);
    if (found == files.end()) return false;
    files[to] = found->second;
    return true;
  }
  std::optional<std::string> AnsiToUtf8(std::string_view ansi) override { return std::string(ansi); }
  std::optional<std::string> Utf8ToAnsi(std::string_view utf8) override { return std::string(utf8); }
};

class UpdateFakeEnvironment final : public EnvironmentApi {
 public:
  std::map<std::string, std::string, std::less<>> variables;
  std::string programFolder = "C:\\Program Files\\Pravelo";
  std::string programBaseName = "pravelo";

  std::optional<std::string> Variable(std::string_view name) override {
    auto found = variables.find(name);
    if (found == variables.end()) return std::nullopt;
    return found->second;
  }
  std::string ProgramFolder() override { return programFolder; }
  std::string ProgramBaseName() override { return programBaseName; }
  std::string CommandLine() override { return {}; }
  std::string DecimalSeparator() override { return "."; }
  uint16_t UserInterfaceLanguage() override { return 1033; }
};

class UpdateFakeLauncher final : public ProcessLauncher {
 public:
  bool starts = true;
  struct Call {
    std::string commandLine;
    int showStyle = 0;
  };
  std::vector<Call> calls;

  bool Start(std::string_view commandLine, int showStyle) override {
    calls.push_back({std::string(commandLine), showStyle});
    return starts;
  }
};

}  // namespace pravelo::testing
