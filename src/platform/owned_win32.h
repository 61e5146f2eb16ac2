// Move-only owners of Windows handles: whatever a function opens is closed when its owner
// goes, on every path out.
#pragma once

#include <windows.h>

#include <utility>

namespace pravelo {

template <typename Handle, auto Close>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, Handle{}));
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }
  // Gives the handle up to the caller, who closes it.
  Handle Release() { return std::exchange(handle_, Handle{}); }
  // For functions that return a handle through a pointer; drops what was held.
  Handle* Put() {
    Reset();
    return &handle_;
  }
  void Reset(Handle handle = Handle{}) {
    if (handle_ != Handle{}) Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_{};
};

using OwnedKey = Owned<HKEY, &RegCloseKey>;
using OwnedHandle = Owned<HANDLE, &CloseHandle>;

}  // namespace pravelo
