// The feedback divider search, library against the candidate-by-candidate reference,
// on the kinds of frequency that decide its cost.
#include <benchmark/benchmark.h>

#include <string>

#include "console.h"
#include "divider_plan.h"
#include "reference_search.h"
#include "solver_fixture.h"

namespace {

// Arguments as the front end reads them (single precision).
constexpr float AVERAGE = 27.3f;          // N1 = 180: few multiples of N1 to test
constexpr float LONG_SCAN = 684.937012f;  // N1 = 8: 2.1 million multiples, the error
                                          // falling slowly all the way
constexpr float NEAR_TIES = 685.709961f;  // F just below 114.285 x 6: 568,000 candidates
                                          // tie with the best error but for rounding
constexpr float TIES_WIDE = 285.712341f;  // F near 114.285 x 5 / 2, N1 = 18: ties and a
                                          // wide window around them
constexpr float STEADY = 685.710449f;     // F just above 114.285 x 6: 53,000 improvements
                                          // in a row, every sixth candidate
constexpr float SLOWEST = 761.899536f;    // F near 114.285 x 20 / 3: near-ties that still
                                          // improve by rounding, in four rows; the
                                          // slowest the worst-case scan finds
constexpr float LOWEST = 0.008f;          // N1 = 606252: the output search's longest scan

template <int (*OutputSearch)(divider_plan&, double&),
          int (*FeedbackSearch)(divider_plan&, double, double&)>
void BM_Solve(benchmark::State& state, float argument) {
  std::string printed;
  console_capture(&printed);
  for (auto _ : state) {
    divider_plan plan = plan_for(argument);
    double fosc = 0.0;
    double f3 = 0.0;
    OutputSearch(plan, fosc);
    FeedbackSearch(plan, fosc, f3);
    benchmark::DoNotOptimize(plan);
    benchmark::DoNotOptimize(f3);
    printed.clear();
  }
  console_capture(nullptr);
}

constexpr auto BM_Library = BM_Solve<search_output_dividers, search_feedback_dividers>;
constexpr auto BM_Reference =
    BM_Solve<reference_search_output_dividers, reference_search_feedback_dividers>;

BENCHMARK_CAPTURE(BM_Library, average_27_3MHz, AVERAGE)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Reference, average_27_3MHz, AVERAGE)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Library, long_scan_684_937012MHz, LONG_SCAN)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Reference, long_scan_684_937012MHz, LONG_SCAN)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Library, near_ties_685_709961MHz, NEAR_TIES)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Reference, near_ties_685_709961MHz, NEAR_TIES)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Library, ties_wide_285_712341MHz, TIES_WIDE)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Reference, ties_wide_285_712341MHz, TIES_WIDE)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Library, steady_685_710449MHz, STEADY)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Reference, steady_685_710449MHz, STEADY)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Library, slowest_761_899536MHz, SLOWEST)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Reference, slowest_761_899536MHz, SLOWEST)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Library, lowest_0_008MHz, LOWEST)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Reference, lowest_0_008MHz, LOWEST)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
