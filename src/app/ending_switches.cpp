#include "app/ending_switches.h"

#include "app/clean_report.h"
#include "app/command_line.h"
#include "app/quick_update_argument.h"
#include "platform/program_path.h"
#include "update/sha256.h"
#include "update/update_check.h"

namespace pravelo::app {
namespace {

// The update starts the new copy just before the old program ends, and the file of a
// running program cannot be overwritten: the copy is tried again until it ends.
constexpr uint64_t kReplaceWaitMs = 10000;
constexpr uint32_t kReplaceRetryMs = 100;

}  // namespace

void CleanOnce(Platform& platform, OptimizeCommand& command, const std::string& argument) {
  const std::optional<memory::AreaSet> areas = CleanAreas(argument);
  if (!areas) platform.process.EndProcess(kCleanUnknownArea);
  const std::vector<memory::AreaResult> results = command.RunAreas(*areas);
  platform.output.Write(CleanReport(results));
  platform.process.EndProcess(memory::EveryAreaDone(results) ? kCleanAllDone : kCleanSomeNotDone);
}

void QuickUpdate(Platform& platform, const std::string& argument) {
  Platform& p = platform;
  const QuickUpdateArgument request = SplitQuickUpdateArgument(argument);
  // The file this program was started from may have been swapped since the update checked
  // it: only bytes read through one held handle and matching the update's digest are
  // written, and nothing starts otherwise.
  std::optional<std::string> image;
  if (!request.target.empty()) image = p.heldFiles.ReadOwnProgram(update::kMaxExecutableBytes);
  if (image && update::MatchesSha256(*image, request.sha256)) {
    const std::string folder = p.environment.ProgramFolder();
    const std::string target = QuickUpdateTarget(request.target, folder);
    const std::string source = p.environment.ProgramPath();
    // A write that keeps failing (no rights, the target never ends) leaves the old file to
    // start; a program cannot be written onto itself, so that is not waited for.
    const uint64_t deadline = p.clock.NowMs() + kReplaceWaitMs;
    while (!SamePath(source, target) && !p.files.ReplaceWithBytes(target, *image) &&
           p.clock.NowMs() < deadline) {
      p.clock.SleepMs(kReplaceRetryMs);
    }
    p.launcher.Start(QuoteForCommandLine(target), kShowNormal);
  }
  p.process.EndProcess();
}

}  // namespace pravelo::app
