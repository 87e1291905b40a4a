// Looks for the slowest requested frequencies, and compares the library with the
// candidate-by-candidate reference on any list of them.
//
//   pllcfg_worst_case_scan scan [max_q] [floats_each_side] [dense_samples]
//       times the library's two searches on every near-tie family F = 114.285 x p / q
//       (q up to max_q, the floats on either side of each ratio) and on a dense sample
//       of the whole range, log-uniform and linear; prints the slowest.
//   pllcfg_worst_case_scan families [max_q] [floats_each_side]
//       prints the family frequencies, one a line, for `compare`.
//   pllcfg_worst_case_scan compare < frequencies
//       runs both searches on each frequency read (MHz, as the argument reads in single
//       precision) and prints every one whose fields or printed bytes differ.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "reference_search.h"
#include "solver_fixture.h"

namespace {

constexpr double LOWEST_MHZ = 0.008;
constexpr double HIGHEST_MHZ = 808.0;
constexpr int TIMING_RUNS = 3;
constexpr std::size_t SHOWN = 25;

struct outcome {
  divider_plan plan{};
  std::string printed;
  int result = -1;
  double f3 = 0.0;
};

template <typename OutputSearch, typename FeedbackSearch>
outcome solve(float argument, OutputSearch output, FeedbackSearch feedback) {
  outcome o;
  o.plan = plan_for(argument);
  console_capture(&o.printed);
  double fosc = 0.0;
  o.result = output(o.plan, fosc);
  if (o.result == 0) o.result = feedback(o.plan, fosc, o.f3);
  console_capture(nullptr);
  return o;
}

// The fastest of a few runs, in microseconds: the machine's noise only adds time.
double library_microseconds(float argument) {
  double fastest = 1e300;
  for (int run = 0; run < TIMING_RUNS; ++run) {
    const auto start = std::chrono::steady_clock::now();
    const outcome o = solve(argument, search_output_dividers, search_feedback_dividers);
    const auto stop = std::chrono::steady_clock::now();
    if (o.result < 0) std::abort();
    fastest = std::min(fastest, std::chrono::duration<double, std::micro>(stop - start).count());
  }
  return fastest;
}

std::vector<float> families(int max_q, int each_side) {
  std::vector<float> f;
  for (int q = 1; q <= max_q; ++q) {
    for (int p = 1; REFERENCE_INPUT_MHZ * p / q <= HIGHEST_MHZ; ++p) {
      if (std::gcd(p, q) != 1 || REFERENCE_INPUT_MHZ * p / q < LOWEST_MHZ) continue;
      const float centre = static_cast<float>(REFERENCE_INPUT_MHZ * p / q);
      f.push_back(centre);
      float below = centre, above = centre;
      for (int n = 0; n < each_side; ++n) {
        below = std::nextafter(below, 0.0f);
        above = std::nextafter(above, 1000.0f);
        f.push_back(below);
        f.push_back(above);
      }
    }
  }
  return f;
}

std::vector<float> dense_sample(int samples) {
  std::vector<float> f;
  std::mt19937_64 random(5670);
  std::uniform_real_distribution<double> logarithmic(std::log(LOWEST_MHZ), std::log(HIGHEST_MHZ));
  std::uniform_real_distribution<double> linear(LOWEST_MHZ, HIGHEST_MHZ);
  for (int n = 0; n < samples; ++n) {
    f.push_back(static_cast<float>(std::exp(logarithmic(random))));
    f.push_back(static_cast<float>(linear(random)));
  }
  return f;
}

int scan(int max_q, int each_side, int samples) {
  std::vector<float> all = families(max_q, each_side);
  const std::size_t family_count = all.size();
  const std::vector<float> dense = dense_sample(samples);
  all.insert(all.end(), dense.begin(), dense.end());
  std::vector<std::pair<double, float>> timed;
  double total = 0.0;
  for (float f : all) {
    const double us = library_microseconds(f);
    total += us;
    timed.emplace_back(us, f);
  }
  std::sort(timed.rbegin(), timed.rend());
  std::printf("%zu frequencies (%zu in near-tie families), mean %.1f us; the slowest:\n",
              all.size(), family_count, total / static_cast<double>(all.size()));
  for (std::size_t i = 0; i < std::min(SHOWN, timed.size()); ++i) {
    std::printf("%12.1f us  %.9g MHz\n", timed[i].first, static_cast<double>(timed[i].second));
  }
  return 0;
}

bool same(const outcome& a, const outcome& b) {
  return a.result == b.result && a.printed == b.printed && a.plan.N1 == b.plan.N1 &&
         (a.result != 0 || (a.plan.N2 == b.plan.N2 && a.plan.N31 == b.plan.N31 &&
                            a.plan.N32 == b.plan.N32 && a.f3 == b.f3));
}

int compare() {
  long compared = 0, differing = 0;
  double mhz;
  while (std::scanf("%lf", &mhz) == 1) {
    const float f = static_cast<float>(mhz);
    const outcome fast = solve(f, search_output_dividers, search_feedback_dividers);
    const outcome slow =
        solve(f, reference_search_output_dividers, reference_search_feedback_dividers);
    ++compared;
    if (!same(fast, slow)) {
      ++differing;
      std::printf("DIFFERENT %.9g: library N2=%u N32=%u, reference N2=%u N32=%u\n",
                  static_cast<double>(f), fast.plan.N2, fast.plan.N32, slow.plan.N2, slow.plan.N32);
    }
  }
  std::printf("compared %ld frequencies: %ld differ\n", compared, differing);
  return differing == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  auto number = [&](int index, int fallback) {
    return argc > index ? std::atoi(argv[index]) : fallback;
  };
  if (mode == "scan") return scan(number(2, 64), number(3, 8), number(4, 50000));
  if (mode == "families") {
    for (float f : families(number(2, 64), number(3, 8))) {
      std::printf("%.9g\n", static_cast<double>(f));
    }
    return 0;
  }
  if (mode == "compare") return compare();
  std::fprintf(stderr,
               "usage: %s scan [max_q] [each_side] [samples] | families [max_q] "
               "[each_side] | compare < frequencies\n",
               argv[0]);
  return 2;
}
