#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "fakes/update_fakes.h"
#include "platform/http_api_win32.h"
#include "update/sha256.h"
#include "update/update_check.h"

// Run by tests/win32/http_test_server.py, which serves these paths on 127.0.0.1.
namespace pravelo {
namespace {

std::string TestServer() {
  const char* base = std::getenv("PRAVELO_TEST_HTTP");
  return base ? base : "";
}

class HttpApiWin32Test : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(TestServer().empty()) << "run through http_test_server.py"; }
  HttpApiWin32 http;
};

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST_F(HttpApiWin32Test, OkGivesStatusAndWholeBody) {
  auto hello = http.Get(TestServer() + "/hello.txt", 5000);
  ASSERT_TRUE(hello);
  EXPECT_EQ(hello->status, 200);
  EXPECT_EQ(hello->body, "hello from the test server\r\n");

  // Several reads long, with bytes of every value.
  auto big = http.Get(TestServer() + "/big.bin", 5000);
  ASSERT_TRUE(big);
  ASSERT_EQ(big->body.size(), 300u * 1024);
  for (size_t i = 0; i < big->body.size(); ++i) {
    ASSERT_EQ(static_cast<unsigned char>(big->body[i]), (i * 31 + 7) % 251) << "byte " << i;
  }
}

TEST_F(HttpApiWin32Test, ErrorStatusComesBackWithItsPage) {
  auto missing = http.Get(TestServer() + "/missing?x=1", 5000);
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->status, 404);
  EXPECT_NE(missing->body.find("404"), std::string::npos);
}

TEST_F(HttpApiWin32Test, NoAnswerGivesNothingWithinTheWait) {
  const char* closed = std::getenv("PRAVELO_TEST_CLOSED_PORT");
  ASSERT_TRUE(closed);
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(http.Get(std::string("http://127.0.0.1:") + closed + "/version.txt", 5000));
  EXPECT_LT(SecondsSince(start), 4.0);

  // The server answers after 3 s; a 1 s wait must not sit it out.
  start = std::chrono::steady_clock::now();
  EXPECT_FALSE(http.Get(TestServer() + "/slow", 1000));
  EXPECT_LT(SecondsSince(start), 2.9);

  // Half the body, then 3 s of silence.
  start = std::chrono::steady_clock::now();
  EXPECT_FALSE(http.Get(TestServer() + "/stall", 1000));
  EXPECT_LT(SecondsSince(start), 2.9);
}

TEST_F(HttpApiWin32Test, BrokenOrUnusableRequestsGiveNothing) {
  EXPECT_FALSE(http.Get(TestServer() + "/short", 5000));  // fewer bytes than announced
  EXPECT_FALSE(http.Get("not a web address", 5000));
  EXPECT_FALSE(http.Get("ftp://127.0.0.1/file", 5000));
}

TEST_F(HttpApiWin32Test, UpdateCheckAgainstTheServer) {
  testing::UpdateFakeFiles files;
  testing::UpdateFakeEnvironment environment;
  testing::UpdateFakeLauncher launcher;
  environment.variables["temp"] = "C:\\temp";
  environment.variables["PRAVELO_UPDATE_HOST"] = TestServer().substr(std::string("http://").size());

  update::UpdateOutcome outcome =
      update::RunUpdateCheck({http, files, environment, launcher}, 1.42, update::UpdateHost(environment));
  EXPECT_EQ(outcome, update::UpdateOutcome::Started);
  const std::string program = files.files["C:\\temp\\Pravelo_tmp.exe"];
  EXPECT_TRUE(program.starts_with("MZ"));
  EXPECT_TRUE(files.files["C:\\temp\\pravelo.versiontxt"].starts_with("1.43\r\n"));
  ASSERT_EQ(launcher.calls.size(), 1u);
  EXPECT_EQ(launcher.calls[0].commandLine,
            "\"C:\\temp\\Pravelo_tmp.exe\" /q \"C:\\Program Files\\Pravelo\\pravelo\"");

  EXPECT_EQ(
      update::RunUpdateCheck({http, files, environment, launcher}, 1.43, update::UpdateHost(environment)),
      update::UpdateOutcome::UpToDate);
}

}  // namespace
}  // namespace pravelo
