#include "taskbar/com_apartment.h"

#include <objbase.h>

#include <utility>

namespace pravelo::taskbar {

ComApartment ComApartment::Enter() {
  ComApartment apartment;
  // S_FALSE (already a member) must be balanced too; a thread already in the
  // multithreaded apartment fails here and may use COM all the same.
  apartment.entered_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  return apartment;
}

ComApartment::~ComApartment() {
  if (entered_) CoUninitialize();
}

ComApartment::ComApartment(ComApartment&& other) noexcept : entered_(std::exchange(other.entered_, false)) {}

}  // namespace pravelo::taskbar
