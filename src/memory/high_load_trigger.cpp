#include "memory/high_load_trigger.h"

#include <algorithm>

namespace pravelo::memory {
namespace {

constexpr int kRefreshesInARow = 2;

}  // namespace

std::optional<double> HighLoadTrigger::FreedShare(std::optional<int64_t> freedBytes,
                                                  std::optional<uint64_t> totalBytes) {
  if (!freedBytes || !totalBytes || *totalBytes == 0) return std::nullopt;
  return static_cast<double>(*freedBytes) / static_cast<double>(*totalBytes);
}

void HighLoadTrigger::Configure(int thresholdPercent, uint64_t cooldownMs) {
  threshold_ = thresholdPercent;
  baseCooldownMs_ = cooldownMs;
  cooldownMs_ = cooldownMs;
  streak_ = 0;
  passDue_ = false;
  lastPassMs_.reset();
}

bool HighLoadTrigger::OnRefresh(int loadPercent, uint64_t nowMs) {
  if (threshold_ <= 0 || passDue_) return false;
  streak_ = loadPercent >= threshold_ ? std::min(streak_ + 1, kRefreshesInARow) : 0;
  if (streak_ < kRefreshesInARow) return false;
  if (lastPassMs_ && nowMs < *lastPassMs_ + cooldownMs_) return false;
  streak_ = 0;
  passDue_ = true;
  return true;
}

void HighLoadTrigger::PassDone(std::optional<double> freedShare, uint64_t nowMs) {
  if (!passDue_) return;
  passDue_ = false;
  lastPassMs_ = nowMs;
  if (!freedShare) return;
  if (*freedShare >= kWorthwhileShare) {
    cooldownMs_ = baseCooldownMs_;
  } else {
    // A base above the cap is never shortened by the back-off.
    cooldownMs_ = std::max(baseCooldownMs_, std::min(cooldownMs_ * 2, kLongestBackOffMs));
  }
}

}  // namespace pravelo::memory
