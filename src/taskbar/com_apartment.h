// This thread's membership of a single-threaded COM apartment, for as long as the owner
// lives. Implemented for Windows only.
#pragma once

namespace pravelo::taskbar {

class ComApartment {
 public:
  ComApartment() = default;  // no membership
  // Joins (or re-enters) the apartment; owns the membership only when that succeeded.
  static ComApartment Enter();
  ~ComApartment();
  ComApartment(ComApartment&& other) noexcept;
  ComApartment& operator=(ComApartment&&) = delete;
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool entered_ = false;
};

}  // namespace pravelo::taskbar
