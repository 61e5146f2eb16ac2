// Small recording fakes of the ports the update check uses.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/environment_api.h"
#include "platform/file_api.h"
#include "platform/held_file_api.h"
#include "platform/http_api.h"
#include "platform/process_launcher.h"
#include "platform/signature_api.h"
#include "update/sha256.h"

namespace pravelo::testing {

class UpdateFakeHttp final : public HttpApi {
 public:
  std::map<std::string, std::optional<HttpResponse>, std::less<>> responses;  // missing: no answer
  std::vector<std::string> requested;
  std::vector<HttpLimits> limits;
  std::function<void()> onGet;  // what happens while a request runs (time passing)

  std::optional<HttpResponse> Get(std::string_view url, const HttpLimits& requestLimits) override {
    requested.emplace_back(url);
    limits.push_back(requestLimits);
    if (onGet) onGet();
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
  std::string WindowsFolder() override { return "C:\\windows"; }
  std::string SystemFolder() override { return "C:\\windows\\system32"; }
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

  std::function<void()> onStart;  // sees the world as it is while the program starts

  bool Start(std::string_view commandLine, int showStyle) override {
    calls.push_back({std::string(commandLine), showStyle});
    if (onStart) onStart();
    return starts;
  }
};

// A stand-in for ECDSA: the "signature" of a text under a key is its SHA-256 followed by the
// key's first 32 bytes, so a changed text or another key fails just as with the real thing.
class FakeSignatures final : public SignatureApi {
 public:
  static std::string Sign(std::string_view text, std::string_view keyHex) {
    return update::Sha256Hex(text) + std::string(keyHex.substr(0, 64));
  }
  bool VerifyP256(const P256PublicKey& key, const Sha256Value& digest,
                  const P256Signature& signature) override {
    ++calls;
    return std::equal(digest.begin(), digest.end(), signature.begin()) &&
           std::equal(key.begin(), key.begin() + 32, signature.begin() + 32);
  }
  int calls = 0;
};

// Held files in memory; knows which are open, so a test sees what was held when.
class FakeHeldFiles final : public HeldFileApi {
 public:
  struct State {
    std::string bytes;
    bool open = true;
    bool kept = false;
  };
  std::string folder = "C:\\users\\me\\Temp\\fresh";
  std::map<std::string, std::shared_ptr<State>, std::less<>> files;
  bool fails = false;
  // What another program could still do to the file while it is held: nothing, so tests
  // change the bytes only through this hook to play an attacker who wins a race.
  std::function<void(std::string&)> tamper;

  // The running program's file as its held handle reads it; nothing when it cannot be read.
  std::optional<std::string> ownProgram;
  std::vector<size_t> limits;             // the byte limits each read was given
  std::vector<int64_t> removedOlderThan;  // the ages of each clean-up asked for

  std::unique_ptr<HeldFile> WriteAndHold(std::string_view fileName, std::string_view bytes,
                                         size_t maxBytes) override {
    limits.push_back(maxBytes);
    if (fails || bytes.size() > maxBytes) return nullptr;
    const std::string path = folder + std::to_string(files.size()) + "\\" + std::string(fileName);
    auto state = std::make_shared<State>(State{std::string(bytes)});
    if (tamper) tamper(state->bytes);
    files[path] = state;
    return std::make_unique<File>(path, state);
  }
  std::optional<std::string> ReadOwnProgram(size_t maxBytes) override {
    limits.push_back(maxBytes);
    if (!ownProgram || ownProgram->size() > maxBytes) return std::nullopt;
    return ownProgram;
  }
  void RemoveFoldersOlderThan(int64_t ageSeconds) override { removedOlderThan.push_back(ageSeconds); }

 private:
  class File final : public HeldFile {
   public:
    File(std::string path, std::shared_ptr<State> state) : path_(std::move(path)), state_(std::move(state)) {}
    ~File() override { state_->open = false; }
    const std::string& Path() const override { return path_; }
    const std::string& Bytes() const override { return state_->bytes; }
    void Keep() override { state_->kept = true; }

   private:
    std::string path_;
    std::shared_ptr<State> state_;
  };
};

class UpdateFakeClock final : public Clock {
 public:
  uint64_t now = 1000000;
  int64_t utc = 1798761600;  // 2027-01-01 00:00 UTC
  uint64_t NowMs() override { return now; }
  void SleepMs(uint32_t ms) override { now += ms; }
  int64_t UtcSeconds() override { return utc; }
};

}  // namespace pravelo::testing
