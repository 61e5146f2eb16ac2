#include <gtest/gtest.h>

#include "app/clean_report.h"

namespace pravelo::app {
namespace {

using memory::AreaOutcome;
using memory::AreaResult;
using memory::MemoryArea;

AreaResult Result(MemoryArea area, AreaOutcome outcome, std::optional<int64_t> freed, uint64_t ms,
                  uint32_t error = 0) {
  AreaResult result;
  result.area = area;
  result.outcome = outcome;
  result.freedBytes = freed;
  result.durationMs = ms;
  result.errorCode = error;
  return result;
}

TEST(CleanReport, OneTabSeparatedLinePerAreaAndATotal) {
  struct Case {
    const char* name;
    std::vector<AreaResult> results;
    std::string expected;
  };
  const Case cases[] = {
      {"all done",
       {Result(MemoryArea::StandbyList, AreaOutcome::Done, 1'474'560, 40),
        Result(MemoryArea::RegistryCache, AreaOutcome::Done, std::nullopt, 3)},
       "StandbyList\tDone\t1474560\t40\t0\r\n"
       "RegistryCache\tDone\tn/a\t3\t0\r\n"
       "Total\tDone\t1474560\t43\t0\r\n"},
      {"a loss, a failure and what Wine lacks",
       {Result(MemoryArea::WorkingSets, AreaOutcome::Partly, -4096, 120),
        Result(MemoryArea::SystemFileCache, AreaOutcome::NotSupported, std::nullopt, 0),
        Result(MemoryArea::ModifiedList, AreaOutcome::Failed, std::nullopt, 1, 1314),
        Result(MemoryArea::StandbyList, AreaOutcome::NotMeasured, std::nullopt, 2)},
       "WorkingSets\tPartly\t-4096\t120\t0\r\n"
       "SystemFileCache\tNot supported\tn/a\t0\t0\r\n"
       "ModifiedList\tFailed\tn/a\t1\t1314\r\n"
       "StandbyList\tn/a\tn/a\t2\t0\r\n"
       "Total\tNot all done\t-4096\t123\t0\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CleanReport(c.results), c.expected);
  }
}

}  // namespace
}  // namespace pravelo::app
