#include "platform/process_launcher_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "platform/environment_api_win32.h"
#include "platform/text_win32.h"

namespace pravelo {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kWaitMs = 30000;

// The probe is built beside this test program; each case starts a copy of it in a folder
// of its own.
class ProcessLauncherWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    EnvironmentApiWin32 environment;
    probe_ = fs::path(Widen(environment.ProgramFolder())) / L"launch_probe.exe";
    ASSERT_TRUE(fs::exists(probe_));
    folder_ = fs::temp_directory_path() / L"Pravelo launch 시험";
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  fs::path CopyProbe(const std::wstring& name) {
    const fs::path copy = folder_ / name;
    fs::copy_file(probe_, copy);
    return copy;
  }

  static std::map<std::string, std::string> Report(const fs::path& program) {
    fs::path file = program;
    std::ifstream in(file.replace_extension(L".txt"), std::ios::binary);
    std::map<std::string, std::string> fields;
    std::string line;
    while (std::getline(in, line)) {
      const size_t equals = line.find('=');
      if (equals != std::string::npos) fields[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return fields;
  }

  fs::path probe_;
  fs::path folder_;
};

TEST_F(ProcessLauncherWin32Test, ChildGetsItsArgumentsShowStyleAndReturnsItsExitCode) {
  struct Case {
    std::wstring fileName;
    bool quoted;
    std::string arguments;
    int showStyle;
    uint32_t exitCode;
  };
  const Case cases[] = {
      {L"probe with blanks.exe", true, "42 \"second arg\"  tail", SW_SHOWMINNOACTIVE, 42},
      {L"probe.exe", false, "7 /o 512", SW_SHOWNORMAL, 7},
  };
  for (const Case& c : cases) {
    const fs::path program = CopyProbe(c.fileName);
    const std::string path = Narrow(program.wstring());
    const std::string commandLine = (c.quoted ? "\"" + path + "\"" : path) + " " + c.arguments;

    std::optional<StartedProcess> started = ProcessLauncherWin32().StartProcess(commandLine, c.showStyle);
    ASSERT_TRUE(started.has_value()) << commandLine;
    EXPECT_EQ(started->Wait(kWaitMs), c.exitCode) << commandLine;

    const auto report = Report(program);
    EXPECT_EQ(report.at("arguments"), c.arguments);
    EXPECT_EQ(report.at("folder"), Narrow(folder_.wstring()));
    EXPECT_EQ(report.at("base"), Narrow(program.stem().wstring()));
    EXPECT_EQ(report.at("show"), std::to_string(c.showStyle));
  }
}

TEST_F(ProcessLauncherWin32Test, EndingTheProcessReportsSuccess) {
  const fs::path program = CopyProbe(L"ending probe.exe");
  std::optional<StartedProcess> started =
      ProcessLauncherWin32().StartProcess("\"" + Narrow(program.wstring()) + "\" end", SW_HIDE);
  ASSERT_TRUE(started.has_value());
  EXPECT_EQ(started->Wait(kWaitMs), 0u);
  EXPECT_EQ(Report(program).at("arguments"), "end");
}

TEST_F(ProcessLauncherWin32Test, MissingProgramDoesNotStart) {
  const std::string missing = "\"" + Narrow((folder_ / L"not there.exe").wstring()) + "\" /a";
  EXPECT_FALSE(ProcessLauncherWin32().Start(missing, SW_SHOWNORMAL));
  EXPECT_FALSE(ProcessLauncherWin32().StartProcess(missing, SW_SHOWNORMAL).has_value());
}

}  // namespace
}  // namespace pravelo
