#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "fakes/update_fakes.h"
#include "update/sha256.h"
#include "update/update_check.h"

namespace pravelo::update {
namespace {

using testing::UpdateFakeEnvironment;
using testing::UpdateFakeFiles;
using testing::UpdateFakeHttp;
using testing::UpdateFakeLauncher;

constexpr double kOwnVersion = 1.42;
constexpr std::string_view kHost = "127.0.0.1:8080";
const std::string kVersionUrl = "http://127.0.0.1:8080/version.txt";
const std::string kExeUrl = "http://127.0.0.1:8080/files/new pravelo.exe";
const std::string kTemp = "C:\\users\\me\\Temp";
const std::string kVersionPath = kTemp + "\\pravelo.versiontxt";
const std::string kExePath = kTemp + "\\Pravelo_tmp.exe";
const std::string kNewProgram = std::string("MZ\x90\0\x03", 5) + "rest of the program";
const std::string kOldVersionFile = "1.99,http://old/old.exe, and a longer tail than any new file has";
const std::string kOldExe = "MZ old program, longer than the new one ............................";

struct UpdateCheck : ::testing::Test {
  UpdateFakeHttp http;
  UpdateFakeFiles files;
  UpdateFakeEnvironment environment;
  UpdateFakeLauncher launcher;

  UpdateCheck() {
    environment.variables["temp"] = kTemp;
    files.files[kVersionPath] = kOldVersionFile;
    files.files[kExePath] = kOldExe;
  }
  void ServeVersionFile(std::string text) {
    http.responses[kVersionUrl] = HttpResponse{200, std::move(text)};
  }
  void ServeExe(int status, std::string body) {
    http.responses[kExeUrl] = HttpResponse{status, std::move(body)};
  }
  UpdateOutcome Run() { return RunUpdateCheck({http, files, environment, launcher}, kOwnVersion, kHost); }
};

TEST_F(UpdateCheck, DueVersionDownloadsAndStartsTheNewProgram) {
  ServeVersionFile("1.43\r\n" + kExeUrl + "\r\n");
  ServeExe(200, kNewProgram);

  EXPECT_EQ(Run(), UpdateOutcome::Started);
  EXPECT_EQ(http.requested, (std::vector<std::string>{kVersionUrl, kExeUrl}));
  EXPECT_EQ(http.timeouts, (std::vector<int>{30000, 30000}));
  EXPECT_EQ(files.files[kVersionPath], "1.43\r\n" + kExeUrl + "\r\n");
  EXPECT_EQ(files.files[kExePath], kNewProgram);
  ASSERT_EQ(launcher.calls.size(), 1u);
  EXPECT_EQ(launcher.calls[0].commandLine,
            "\"C:\\users\\me\\Temp\\Pravelo_tmp.exe\" /q \"C:\\Program Files\\Pravelo\\pravelo\"");
  EXPECT_EQ(launcher.calls[0].showStyle, 1);
}

TEST_F(UpdateCheck, ChecksumInEitherCaseAdmitsTheProgram) {
  const std::string lower = Sha256Hex(kNewProgram);
  std::string upper = lower;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const std::string& digest : {lower, upper}) {
    launcher.calls.clear();
    ServeVersionFile("1.43," + kExeUrl + "," + digest);
    ServeExe(200, kNewProgram);
    EXPECT_EQ(Run(), UpdateOutcome::Started) << digest;
    EXPECT_EQ(launcher.calls.size(), 1u);
  }
}

TEST_F(UpdateCheck, NothingNewerMeansUpToDateWithoutFetchingTheProgram) {
  for (std::string text : {"1.42\r\n" + kExeUrl, "1.41," + kExeUrl, std::string("1.42"),
                           std::string("<html><body>Welcome</body></html>"), std::string(",") + kExeUrl}) {
    http.requested.clear();
    ServeVersionFile(text);
    EXPECT_EQ(Run(), UpdateOutcome::UpToDate) << text;
    EXPECT_EQ(http.requested, std::vector<std::string>{kVersionUrl}) << text;
    EXPECT_EQ(files.files[kVersionPath], text);
  }
  EXPECT_TRUE(launcher.calls.empty());
  EXPECT_EQ(files.files[kExePath], kOldExe);
}

// Every way the check can break off leaves the program running, nothing started, and each
// file in the temporary folder either untouched or holding a whole 200 body.
TEST_F(UpdateCheck, FailuresStartNothingAndKeepFilesWhole) {
  const std::string due = "1.43\r\n" + kExeUrl + "\r\n";
  const struct {
    const char* name;
    std::optional<HttpResponse> versionFile;
    std::optional<HttpResponse> exe;
    bool versionFileWritten;
  } cases[] = {
      {"no server", std::nullopt, std::nullopt, false},
      {"version file 404", HttpResponse{404, "<html>1.99 Not Found</html>"}, std::nullopt, false},
      {"version file 500", HttpResponse{500, "9.99"}, std::nullopt, false},
      {"empty version file", HttpResponse{200, ""}, std::nullopt, true},
      {"blank version file", HttpResponse{200, " \r\n\r\n"}, std::nullopt, true},
      {"no second item", HttpResponse{200, "1.43\r\n"}, HttpResponse{200, kNewProgram}, true},
      {"empty second item", HttpResponse{200, "1.43,,x"}, HttpResponse{200, kNewProgram}, true},
      {"program not reached", HttpResponse{200, due}, std::nullopt, true},
      {"program 404", HttpResponse{200, due}, HttpResponse{404, "MZ-looking error page"}, true},
      {"program 302", HttpResponse{200, due}, HttpResponse{302, kNewProgram}, true},
      {"empty program", HttpResponse{200, due}, HttpResponse{200, ""}, true},
      {"one byte program", HttpResponse{200, due}, HttpResponse{200, "M"}, true},
      {"not a program", HttpResponse{200, due}, HttpResponse{200, "<html>MZ</html>"}, true},
      {"checksum mismatch", HttpResponse{200, "1.43," + kExeUrl + "," + Sha256Hex("other")},
       HttpResponse{200, kNewProgram}, true},
      {"checksum malformed", HttpResponse{200, "1.43," + kExeUrl + ",not-a-digest"},
       HttpResponse{200, kNewProgram}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    files.files[kVersionPath] = kOldVersionFile;
    files.files[kExePath] = kOldExe;
    http.responses.clear();
    if (c.versionFile) http.responses[kVersionUrl] = c.versionFile;
    if (c.exe) http.responses[kExeUrl] = c.exe;

    EXPECT_EQ(Run(), UpdateOutcome::Failed);
    EXPECT_TRUE(launcher.calls.empty());
    EXPECT_EQ(files.files[kVersionPath], c.versionFileWritten ? c.versionFile->body : kOldVersionFile);
    EXPECT_EQ(files.files[kExePath], kOldExe);
  }
}

TEST_F(UpdateCheck, StartFailureIsAFailedCheck) {
  ServeVersionFile("1.43," + kExeUrl);
  ServeExe(200, kNewProgram);
  launcher.starts = false;
  EXPECT_EQ(Run(), UpdateOutcome::Failed);
  EXPECT_EQ(launcher.calls.size(), 1u);
}

TEST_F(UpdateCheck, UnwritableTemporaryFilesFailTheCheck) {
  ServeVersionFile("1.43," + kExeUrl);
  ServeExe(200, kNewProgram);

  files.unwritable = {kVersionPath};
  EXPECT_EQ(Run(), UpdateOutcome::Failed);
  EXPECT_EQ(http.requested.size(), 1u);

  files.unwritable = {kExePath};
  EXPECT_EQ(Run(), UpdateOutcome::Failed);
  EXPECT_TRUE(launcher.calls.empty());

  files.unwritable.clear();
  environment.variables.erase("temp");
  http.requested.clear();
  EXPECT_EQ(Run(), UpdateOutcome::Failed);
  EXPECT_TRUE(http.requested.empty());
}

TEST(UpdateHost, EnvironmentOverridesTheBuiltInHost) {
  UpdateFakeEnvironment environment;
  const std::string builtIn = UpdateHost(environment);
  EXPECT_FALSE(builtIn.empty());
  EXPECT_EQ(builtIn.find('/'), std::string::npos);

  environment.variables["PRAVELO_UPDATE_HOST"] = "127.0.0.1:41234";
  EXPECT_EQ(UpdateHost(environment), "127.0.0.1:41234");
  environment.variables["PRAVELO_UPDATE_HOST"] = "";
  EXPECT_EQ(UpdateHost(environment), builtIn);
}

}  // namespace
}  // namespace pravelo::update
