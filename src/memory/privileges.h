// A privilege on for one call of the calling thread, and off again on every way out: no
// window message is ever handled with it on.
#pragma once

#include "platform/memory_operations.h"

namespace pravelo::memory {

class PrivilegeScope {
 public:
  PrivilegeScope(MemoryOperations& operations, Privilege privilege)
      : operations_(operations), enabled_(operations.EnablePrivilege(privilege)) {}
  PrivilegeScope(const PrivilegeScope&) = delete;
  PrivilegeScope& operator=(const PrivilegeScope&) = delete;
  ~PrivilegeScope() { operations_.DropPrivileges(); }

  // A privilege the account lacks stays off; the call that needs it is then refused and
  // says so in its result.
  bool Enabled() const { return enabled_; }

 private:
  MemoryOperations& operations_;
  bool enabled_;
};

}  // namespace pravelo::memory
