// When memory runs high, an automatic pass: the load at or above the threshold on two
// refreshes in a row, at most once per cooldown, and a longer cooldown while passes free
// next to nothing, so a machine that stays full is not trimmed over and over.
#pragma once

#include <cstdint>
#include <optional>

namespace pravelo::memory {

class HighLoadTrigger {
 public:
  static constexpr uint64_t kLongestBackOffMs = 30ull * 60 * 1000;
  // A pass that frees less than this share of physical memory counts as in vain.
  static constexpr double kWorthwhileShare = 0.01;

  // A threshold of 0 switches the trigger off. Starts afresh: no streak, no cooldown.
  void Configure(int thresholdPercent, uint64_t cooldownMs);

  // One refresh's memory load; true when an automatic pass is due now. Once it said so,
  // it says nothing more until PassDone.
  bool OnRefresh(int loadPercent, uint64_t nowMs);
  // The pass it asked for is over; `freedShare` is the share of physical memory it freed,
  // nothing when it did not run at all (another pass was running). The cooldown counts
  // from now.
  void PassDone(std::optional<double> freedShare, uint64_t nowMs);

  uint64_t CooldownMs() const { return cooldownMs_; }
  // What a pass freed as a share of the installed memory; nothing when either is unknown.
  static std::optional<double> FreedShare(std::optional<int64_t> freedBytes,
                                          std::optional<uint64_t> totalBytes);

 private:
  int threshold_ = 0;
  uint64_t baseCooldownMs_ = 0;
  uint64_t cooldownMs_ = 0;
  int streak_ = 0;
  bool passDue_ = false;
  std::optional<uint64_t> lastPassMs_;
};

}  // namespace pravelo::memory
