#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "fakes/update_fakes.h"
#include "platform/clock_win32.h"
#include "platform/held_file_api_win32.h"
#include "platform/http_api_win32.h"
#include "platform/message_pump_win32.h"
#include "platform/registry_api_win32.h"
#include "platform/signature_api_win32.h"
#include "update/update_check.h"

// Run by tests/win32/http_test_server.py, which serves these paths on 127.0.0.1.
namespace pravelo {
namespace {

constexpr size_t kRoomy = 1024 * 1024;

std::string TestServer() {
  const char* base = std::getenv("PRAVELO_TEST_HTTP");
  return base ? base : "";
}

class HttpApiWin32Test : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(TestServer().empty()) << "run through http_test_server.py"; }
  MessagePumpWin32 pump;
  HttpApiWin32 http{pump};
};

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST_F(HttpApiWin32Test, OkGivesStatusAndWholeBody) {
  auto hello = http.Get(TestServer() + "/hello.txt", {5000, kRoomy});
  ASSERT_TRUE(hello);
  EXPECT_EQ(hello->status, 200);
  EXPECT_EQ(hello->body, "hello from the test server\r\n");

  // Several reads long, with bytes of every value; announced and unannounced lengths.
  for (const char* path : {"/big.bin", "/unannounced"}) {
    auto big = http.Get(TestServer() + path, {5000, kRoomy});
    ASSERT_TRUE(big) << path;
    ASSERT_EQ(big->body.size(), 300u * 1024) << path;
    for (size_t i = 0; i < big->body.size(); ++i) {
      ASSERT_EQ(static_cast<unsigned char>(big->body[i]), (i * 31 + 7) % 251) << path << " byte " << i;
    }
  }
}

TEST_F(HttpApiWin32Test, ErrorStatusComesBackWithItsPage) {
  auto missing = http.Get(TestServer() + "/missing?x=1", {5000, kRoomy});
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->status, 404);
  EXPECT_NE(missing->body.find("404"), std::string::npos);
}

TEST_F(HttpApiWin32Test, NoAnswerGivesNothingWithinTheWait) {
  const char* closed = std::getenv("PRAVELO_TEST_CLOSED_PORT");
  ASSERT_TRUE(closed);
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(http.Get(std::string("http://127.0.0.1:") + closed + "/version.txt", {5000, kRoomy}));
  EXPECT_LT(SecondsSince(start), 4.0);

  // The server answers after 3 s; a 1 s wait must not sit it out.
  start = std::chrono::steady_clock::now();
  EXPECT_FALSE(http.Get(TestServer() + "/slow", {1000, kRoomy}));
  EXPECT_LT(SecondsSince(start), 2.9);

  // Half the body, then 3 s of silence.
  start = std::chrono::steady_clock::now();
  EXPECT_FALSE(http.Get(TestServer() + "/stall", {1000, kRoomy}));
  EXPECT_LT(SecondsSince(start), 2.9);

  // A byte now and then keeps every single read alive; the whole request still ends in time.
  start = std::chrono::steady_clock::now();
  EXPECT_FALSE(http.Get(TestServer() + "/trickle", {2000, kRoomy}));
  EXPECT_LT(SecondsSince(start), 3.5);

  // Redirected to itself for ever.
  start = std::chrono::steady_clock::now();
  EXPECT_FALSE(http.Get(TestServer() + "/loop", {5000, kRoomy}));
  EXPECT_LT(SecondsSince(start), 5.5);
}

TEST_F(HttpApiWin32Test, BodiesOverTheLimitGiveNothing) {
  EXPECT_FALSE(http.Get(TestServer() + "/big.bin", {5000, 300 * 1024 - 1}));
  EXPECT_FALSE(http.Get(TestServer() + "/unannounced", {5000, 300 * 1024 - 1}));
  EXPECT_TRUE(http.Get(TestServer() + "/big.bin", {5000, 300 * 1024}));
  // 200 MB announced, then a trickle: refused on the announcement, long before the time is up.
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(http.Get(TestServer() + "/huge", {10000, kRoomy}));
  EXPECT_LT(SecondsSince(start), 3.0);
}

TEST_F(HttpApiWin32Test, BrokenOrUnusableRequestsGiveNothing) {
  EXPECT_FALSE(http.Get(TestServer() + "/short", {5000, kRoomy}));  // fewer bytes than announced
  EXPECT_FALSE(http.Get("not a web address", {5000, kRoomy}));
  EXPECT_FALSE(http.Get("ftp://127.0.0.1/file", {5000, kRoomy}));
}

int timerTicks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++timerTicks; }

// Waiting for the answer and waiting between the bytes of a trickling body alike.
TEST_F(HttpApiWin32Test, WindowMessagesRunWhileARequestWaits) {
  for (const char* path : {"/slow", "/trickle"}) {
    timerTicks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, CountTick);
    ASSERT_NE(timer, 0u);
    EXPECT_FALSE(http.Get(TestServer() + path, {1500, kRoomy}));
    KillTimer(nullptr, timer);
    EXPECT_GE(timerTicks, 10) << path;
  }
}

TEST_F(HttpApiWin32Test, SignedUpdateAgainstTheServer) {
  RegistryApiWin32 registry;
  testing::UpdateFakeEnvironment environment;
  testing::UpdateFakeLauncher launcher;
  testing::UpdateFakeClock clock;
  clock.utc = ClockWin32().UtcSeconds();  // the served file expires a month from now
  SignatureApiWin32 signatures;
  HeldFileApiWin32 heldFiles;
  const char* key = std::getenv("PRAVELO_TEST_UPDATE_KEY");
  ASSERT_TRUE(key);
  const std::string host = TestServer().substr(std::string("http://").size());
  update::UpdatePorts ports{http, registry, environment, launcher, signatures, heldFiles, clock};
  registry.DeleteValue(RegistryRoot::CurrentUser, update::kUpdateStateKey, update::kHighestVersionValue);

  std::string started;
  launcher.starts = false;  // a started program would be the server's bytes
  launcher.onStart = [&] { started = launcher.calls.back().commandLine; };
  EXPECT_EQ(update::RunUpdateCheck(ports, {host, key, update::Version{1, 4, 2}}),
            update::UpdateOutcome::Failed);
  ASSERT_EQ(launcher.calls.size(), 1u);
  EXPECT_NE(started.find("Pravelo_tmp.exe\" /q \"C:\\Program Files\\Pravelo\\pravelo\" "), std::string::npos);
  EXPECT_EQ(registry.Read(RegistryRoot::CurrentUser, update::kUpdateStateKey, update::kHighestVersionValue),
            "1.4.3");

  EXPECT_EQ(update::RunUpdateCheck(ports, {host, key, update::Version{1, 4, 3}}),
            update::UpdateOutcome::UpToDate);
  // A month on, the same signed file is refused.
  clock.utc += 31 * 24 * 60 * 60;
  EXPECT_EQ(update::RunUpdateCheck(ports, {host, key, update::Version{1, 4, 2}}),
            update::UpdateOutcome::Failed);
  clock.utc -= 31 * 24 * 60 * 60;
  const std::string otherKey(128, '1');
  EXPECT_EQ(update::RunUpdateCheck(ports, {host, otherKey, update::Version{1, 4, 2}}),
            update::UpdateOutcome::Failed);
  EXPECT_EQ(launcher.calls.size(), 1u);
  registry.DeleteValue(RegistryRoot::CurrentUser, update::kUpdateStateKey, update::kHighestVersionValue);
}

}  // namespace
}  // namespace pravelo
