// Switching a privilege of the program's own token on or off, and a guard that keeps the
// privileges of a pass on only while the pass runs.
#pragma once

#include <string>
#include <vector>

#include "platform/process_api.h"

namespace pravelo::memory {

inline constexpr char kDebugPrivilege[] = "SeDebugPrivilege";
inline constexpr char kIncreaseQuotaPrivilege[] = "SeIncreaseQuotaPrivilege";
inline constexpr char kProfileSingleProcessPrivilege[] = "SeProfileSingleProcessPrivilege";

// Changes only the enabled bit of the privilege; true when the adjustment that sets it
// succeeded, also where the account does not hold the privilege.
bool SetPrivilege(ProcessApi& processes, const std::string& name, bool enable);

// Switches the privileges on in the order given and off again in the reverse order when it
// goes out of scope, on every way out.
class PrivilegeScope {
 public:
  PrivilegeScope(ProcessApi& processes, std::vector<std::string> names);
  PrivilegeScope(const PrivilegeScope&) = delete;
  PrivilegeScope& operator=(const PrivilegeScope&) = delete;
  ~PrivilegeScope();

 private:
  ProcessApi& processes_;
  std::vector<std::string> names_;
};

}  // namespace pravelo::memory
