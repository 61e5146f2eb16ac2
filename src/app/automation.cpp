#include "app/form1.h"
#include "memory/optimizer.h"
#include "settings/automation_settings.h"
#include "text_ids.h"

namespace pravelo::app {
namespace {

constexpr uint64_t kMsPerSecond = 1000;

}  // namespace

bool Form1::ApplyAutomation() {
  const settings::AutomationSettings automation = settings::ReadAutomationSettings(store_);
  highLoad_.Configure(automation.thresholdPercent, automation.cooldownSeconds * kMsPerSecond);
  if (!automation.hotkey) {
    hotkey.Clear();
    return true;
  }
  if (hotkey.Set(automation.hotkey->modifiers, automation.hotkey->virtualKey)) return true;
  MsgBx(strings().Text(IDS_HOTKEY_TAKEN) + settings::HotkeyText(*automation.hotkey), 0);
  return false;
}

void Form1::OptimizeOnHighLoad(int load) {
  Platform& p = platform();
  if (!highLoad_.OnRefresh(load, p.clock.NowMs())) return;
  // Judged by what the areas' own counters freed: purged standby pages, for one, were
  // available before the pass already.
  const bool ran = OptimizeMemory(settings::kAutomaticAreas);
  highLoad_.PassDone(ran ? memory::HighLoadTrigger::FreedShare(memory::FreedBytes(optimizer_->LastResults()),
                                                               p.memory.TotalPhysicalBytes())
                         : std::nullopt,
                     p.clock.NowMs());
}

}  // namespace pravelo::app
