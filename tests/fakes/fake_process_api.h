// A machine of processes that a test describes; every call is written to `calls` with its
// arguments, so a test can check the order and the constants.
#pragma once

#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/process_api.h"

namespace pravelo::fakes {

class FakeProcessApi : public ProcessApi {
 public:
  static constexpr NativeHandle kCurrentProcess = 0xFFFFFFFF;  // the pseudo-handle
  static constexpr NativeHandle kToken = 7;
  // The handle OpenProcess gives for a process id.
  static constexpr NativeHandle HandleOf(uint32_t processId) { return 1000 + NativeHandle{processId}; }

  // The machine. Nothing in `processes` makes the enumeration fail.
  std::optional<std::vector<uint32_t>> processes = std::vector<uint32_t>{};
  std::set<uint32_t> unopenable;
  std::map<uint32_t, std::string> imageNames;  // "<id>.exe" for a process not named here
  bool emptyWorkingSetFails = false;
  bool setWorkingSetSizeFails = false;
  bool closeHandleFails = false;
  bool fileCacheSizeFails = false;
  int32_t ntStatus = 0;                       // NtSetSystemInformation's answer
  std::map<uint32_t, int32_t> statusOfClass;  // ... for a class, where it differs
  std::function<void(uint32_t)> onNtCall;     // runs inside each call, given its class
  uint32_t lastError = 0;
  // ErrorOfStatus: these, and 317 (no message for the code) for any other.
  std::map<int32_t, uint32_t> errorOfStatus{{static_cast<int32_t>(0xC0000061), 1314}};
  bool openTokenFails = false;
  bool lookupFails = false;
  std::function<void(const std::string&)> onLookup;  // runs inside each lookup, given the name
  std::set<int> failingAdjustCalls;  // 1 is the first AdjustTokenPrivileges call
  Luid debugLuid{20, 0};
  uint32_t debugAttributes = 0;  // the privilege's attributes in the token; 0x2 is enabled
  // The other privileges' attributes, by the low part of their LUID (5: increase quota,
  // 13: profile single process).
  std::map<uint32_t, uint32_t> otherAttributes;
  uint32_t& AttributesOf(uint32_t luidLow) {
    return luidLow == debugLuid.lowPart ? debugAttributes : otherAttributes[luidLow];
  }
  bool Enabled(uint32_t luidLow) { return (AttributesOf(luidLow) & kEnabled) != 0; }

  // What happened.
  std::vector<std::string> calls;
  std::set<NativeHandle> openHandles;
  int adjustCalls = 0;
  FileCacheInformation lastFileCacheInformation;

  int CountOf(const std::string& name) const {
    int count = 0;
    for (const std::string& call : calls) count += call.compare(0, name.size() + 1, name + "(") == 0 ? 1 : 0;
    return count;
  }

  std::unique_ptr<ProcessRecords> EnumerateProcesses(NativeHandle server, uint32_t reserved,
                                                     uint32_t version) override {
    Log("WTSEnumerateProcesses(" + Dec(server) + ", " + Dec(reserved) + ", " + Dec(version) + ")");
    if (!processes) return nullptr;
    return std::make_unique<Records>(*this, *processes);
  }
  NativeHandle OpenProcess(uint32_t access, bool inheritHandle, uint32_t processId) override {
    Log("OpenProcess(" + Hex(access) + ", " + Dec(inheritHandle) + ", " + Dec(processId) + ")");
    if (unopenable.count(processId) != 0) return 0;
    openHandles.insert(HandleOf(processId));
    return HandleOf(processId);
  }
  bool EmptyWorkingSet(NativeHandle process) override {
    Log("EmptyWorkingSet(" + Dec(process) + ")");
    return !emptyWorkingSetFails;
  }
  bool SetProcessWorkingSetSize(NativeHandle process, std::uintptr_t minimum,
                                std::uintptr_t maximum) override {
    Log("SetProcessWorkingSetSize(" + Dec(process) + ", " + Hex(minimum) + ", " + Hex(maximum) + ")");
    return !setWorkingSetSizeFails;
  }
  bool CloseHandle(NativeHandle handle) override {
    Log("CloseHandle(" + Dec(handle) + ")");
    openHandles.erase(handle);
    return !closeHandleFails;
  }
  bool SetSystemFileCacheSize(std::uintptr_t minimum, std::uintptr_t maximum, uint32_t flags) override {
    Log("SetSystemFileCacheSize(" + Hex(minimum) + ", " + Hex(maximum) + ", " + Dec(flags) + ")");
    return !fileCacheSizeFails;
  }
  int32_t NtSetSystemInformation(uint32_t informationClass, void* information, uint32_t length) override {
    std::string what = "?";
    if (informationClass == kFileCacheClass) {
      const auto* record = static_cast<const FileCacheInformation*>(information);
      lastFileCacheInformation = *record;
      what = "min " + Hex(record->minimumWorkingSet) + " max " + Hex(record->maximumWorkingSet);
    } else if (informationClass == kMemoryListClass) {
      what = "command " + Dec(*static_cast<const uint32_t*>(information));
    } else if (informationClass == kCombineClass) {
      const auto* record = static_cast<const MemoryCombineInformationEx*>(information);
      what = "handle " + Dec(record->handle) + " flags " + Dec(record->flags);
    } else if (!information) {
      what = "null";
    }
    Log("NtSetSystemInformation(" + Dec(informationClass) + ", " + what + ", " + Dec(length) + ")");
    if (onNtCall) onNtCall(informationClass);
    const auto status = statusOfClass.find(informationClass);
    return status != statusOfClass.end() ? status->second : ntStatus;
  }
  NativeHandle GetCurrentProcess() override {
    Log("GetCurrentProcess()");
    return kCurrentProcess;
  }
  bool OpenProcessToken(NativeHandle process, uint32_t access, NativeHandle& token) override {
    Log("OpenProcessToken(" + Hex(process) + ", " + Hex(access) + ")");
    if (openTokenFails) return false;
    token = kToken;
    openHandles.insert(kToken);
    return true;
  }
  bool LookupPrivilegeValue(const std::string& systemName, const std::string& name, Luid& luid) override {
    Log("LookupPrivilegeValue(\"" + systemName + "\", \"" + name + "\")");
    if (lookupFails) return false;
    if (onLookup) onLookup(name);
    if (name == "SeDebugPrivilege") {
      luid = debugLuid;
    } else if (name == "SeIncreaseQuotaPrivilege") {
      luid = {5, 0};
    } else if (name == "SeProfileSingleProcessPrivilege") {
      luid = {13, 0};
    } else {
      return false;
    }
    return true;
  }
  bool AdjustTokenPrivileges(NativeHandle token, bool disableAll, const TokenPrivileges* newState,
                             uint32_t bufferLength, TokenPrivileges* previousState,
                             uint32_t* returnLength) override {
    const LuidAndAttributes& entry = newState->privileges[0];
    Log("AdjustTokenPrivileges(" + Dec(token) + ", " + Dec(disableAll) + ", " +
        Dec(newState->privilegeCount) + " x " + Dec(entry.luid.lowPart) + ":" +
        Dec(static_cast<uint32_t>(entry.luid.highPart)) + " " + Hex(entry.attributes) + ", " +
        Dec(bufferLength) + ", " + (previousState ? "previous" : "none") + ")");
    if (failingAdjustCalls.count(++adjustCalls) != 0) return false;
    if (previousState) {
      previousState->privilegeCount = 1;
      previousState->privileges[0] = {entry.luid, AttributesOf(entry.luid.lowPart)};
      if (returnLength) *returnLength = kOneEntryLength;
    }
    // As in a real token, only the enabled bit can be changed.
    uint32_t& attributes = AttributesOf(entry.luid.lowPart);
    attributes = (attributes & ~kEnabled) | (entry.attributes & kEnabled);
    return true;
  }
  uint32_t LastError() override { return lastError; }
  uint32_t ErrorOfStatus(int32_t status) override {
    const auto error = errorOfStatus.find(status);
    return error != errorOfStatus.end() ? error->second : 317;
  }

 private:
  static constexpr uint32_t kEnabled = 0x2;
  static constexpr uint32_t kOneEntryLength = 16;
  static constexpr uint32_t kFileCacheClass = 21;
  static constexpr uint32_t kMemoryListClass = 80;
  static constexpr uint32_t kCombineClass = 130;

  class Records : public ProcessRecords {
   public:
    Records(FakeProcessApi& owner, std::vector<uint32_t> ids) : owner_(owner), ids_(std::move(ids)) {}
    ~Records() override { owner_.Log("WTSFreeMemory()"); }
    std::size_t Count() const override { return ids_.size(); }
    uint32_t ProcessId(std::size_t index) const override { return ids_.at(index); }
    std::string ImageName(std::size_t index) const override {
      const auto named = owner_.imageNames.find(ids_.at(index));
      return named != owner_.imageNames.end() ? named->second : std::to_string(ids_.at(index)) + ".exe";
    }

   private:
    FakeProcessApi& owner_;
    std::vector<uint32_t> ids_;
  };

  void Log(std::string call) { calls.push_back(std::move(call)); }
  static std::string Dec(uint64_t value) { return std::to_string(value); }
  static std::string Hex(uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
  }
};

}  // namespace pravelo::fakes
