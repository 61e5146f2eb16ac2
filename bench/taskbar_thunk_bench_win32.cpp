// Size of the generated call block per argument count, and the time of one call through
// it next to a plain virtual call. Run under Wine: scripts/wine-run.sh STATE this.exe
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "taskbar/call_interface_method.h"
#include "taskbar/call_thunk.h"

namespace {

using pravelo::taskbar::CallInterfaceMethod;
using pravelo::taskbar::CallThunkSize;
using pravelo::taskbar::CallThunkSizeX64;

struct Counter {
  const void* const* methodTable;
  uint32_t total;
};

HRESULT STDMETHODCALLTYPE Add(Counter* self, uint32_t window, uint32_t flags) {
  self->total += window + flags;
  return S_OK;
}

class Adder {
 public:
  virtual ~Adder() = default;
  virtual HRESULT Add(uint32_t window, uint32_t flags) = 0;
  uint32_t total = 0;
};

class Summing final : public Adder {
 public:
  HRESULT Add(uint32_t window, uint32_t flags) override {
    total += window + flags;
    return S_OK;
  }
};

class Differing final : public Adder {
 public:
  HRESULT Add(uint32_t window, uint32_t flags) override {
    total += window - flags;
    return S_OK;
  }
};

// Two overriders and a choice made at run time: the compiler cannot turn the measured call
// into a direct one.
std::unique_ptr<Adder> MakeAdder(bool summing) {
  if (summing) return std::make_unique<Summing>();
  return std::make_unique<Differing>();
}

template <typename Call>
double NanosecondsPerCall(int iterations, Call call) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < iterations; ++i) call(i);
  const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count() / iterations;
}

}  // namespace

int main() {
  for (const std::size_t n : {0, 2, 5, 10}) {
    std::printf("arguments %2zu: %zu bytes per call (x86), %zu (x64)\n", n, CallThunkSize(n), CallThunkSizeX64(n));
  }

  constexpr int kIterations = 200000;
  const void* table[] = {reinterpret_cast<const void*>(&Add)};
  Counter counter{table, 0};
  const auto interfacePointer = reinterpret_cast<std::uintptr_t>(&counter);
  const double thunk = NanosecondsPerCall(
      kIterations, [&](int i) { CallInterfaceMethod(interfacePointer, 0, 2, static_cast<uint32_t>(i), 1); });

  volatile bool summing = true;
  const std::unique_ptr<Adder> adder = MakeAdder(summing);
  Adder* const target = adder.get();
  const double direct =
      NanosecondsPerCall(kIterations, [&](int i) { target->Add(static_cast<uint32_t>(i), 1); });

  const bool agree = counter.total == adder->total;
  std::printf("CallInterfaceMethod, 2 arguments: %.1f ns per call\n", thunk);
  std::printf("direct virtual call, 2 arguments: %.1f ns per call\n", direct);
  std::printf("ratio %.0fx; both computed %s (%d calls each)\n", thunk / direct,
              agree ? "the same" : "DIFFERENT", kIterations);
  return agree ? 0 : 1;
}
