#include "memory/privileges.h"

namespace pravelo::memory {
namespace {

constexpr uint32_t kTokenAdjustAndQuery = 0x28;
constexpr uint32_t kTokenPrivilegesLength = sizeof(TokenPrivileges);
constexpr uint32_t kPrivilegeEnabled = 0x2;
const std::string kLocalSystem;

// Closes a handle through the port on every way out.
class HandleCloser {
 public:
  HandleCloser(ProcessApi& processes, NativeHandle handle) : processes_(processes), handle_(handle) {}
  HandleCloser(const HandleCloser&) = delete;
  HandleCloser& operator=(const HandleCloser&) = delete;
  ~HandleCloser() { processes_.CloseHandle(handle_); }

 private:
  ProcessApi& processes_;
  NativeHandle handle_;
};

}  // namespace

bool SetPrivilege(ProcessApi& processes, const std::string& name, bool enable) {
  NativeHandle token = 0;
  if (!processes.OpenProcessToken(processes.GetCurrentProcess(), kTokenAdjustAndQuery, token)) return false;
  const HandleCloser closer(processes, token);
  Luid luid;
  if (!processes.LookupPrivilegeValue(kLocalSystem, name, luid)) return false;

  // The first adjustment clears the privilege and reports the attributes it had, so that
  // the second can change the enabled bit alone.
  TokenPrivileges newState;
  newState.privilegeCount = 1;
  newState.privileges[0] = {luid, 0};
  TokenPrivileges previous;
  uint32_t previousLength = 0;
  processes.AdjustTokenPrivileges(token, false, &newState, kTokenPrivilegesLength, &previous,
                                  &previousLength);

  const uint32_t captured = previous.privileges[0].attributes;
  previous.privilegeCount = 1;
  previous.privileges[0].luid = luid;
  previous.privileges[0].attributes = enable ? captured | kPrivilegeEnabled : captured & ~kPrivilegeEnabled;
  return processes.AdjustTokenPrivileges(token, false, &previous, previousLength, nullptr, nullptr);
}

PrivilegeScope::PrivilegeScope(ProcessApi& processes, std::vector<std::string> names)
    : processes_(processes), names_(std::move(names)) {
  // A privilege the account lacks stays off; the call that needs it is then refused and
  // says so in its result.
  for (const std::string& name : names_) SetPrivilege(processes_, name, true);
}

PrivilegeScope::~PrivilegeScope() {
  for (auto name = names_.rbegin(); name != names_.rend(); ++name) {
    try {
      SetPrivilege(processes_, *name, false);
    } catch (...) {
      // A port that throws here must not end the program from a destructor; the next
      // privilege is still switched off.
    }
  }
}

}  // namespace pravelo::memory
