// The library's searches against the candidate-by-candidate reference, on thousands
// of requested frequencies: every field they set and every byte they print must match.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numeric>
#include <random>
#include <vector>

#include "reference_search.h"
#include "solver_fixture.h"

namespace {

struct stage_outcome {
  divider_plan plan{};
  std::string printed;
  int output_result = -1;
  int feedback_result = -1;
  double fosc = 0.0;
  double f3 = 0.0;
};

// The bits of a double, so that two results must agree in every bit, not only compare equal.
std::uint64_t bits_of(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

template <typename OutputSearch, typename FeedbackSearch>
stage_outcome run_stages(float argument, OutputSearch output, FeedbackSearch feedback) {
  stage_outcome o;
  o.plan = plan_for(argument);
  console_capture(&o.printed);
  o.output_result = output(o.plan, o.fosc);
  if (o.output_result == 0) o.feedback_result = feedback(o.plan, o.fosc, o.f3);
  console_capture(nullptr);
  return o;
}

void expect_same(float argument) {
  const stage_outcome fast = run_stages(argument, search_output_dividers, search_feedback_dividers);
  const stage_outcome slow =
      run_stages(argument, reference_search_output_dividers, reference_search_feedback_dividers);
  SCOPED_TRACE(testing::Message() << "argument " << std::hexfloat << argument << " ("
                                  << std::defaultfloat << argument << ")");
  ASSERT_EQ(fast.output_result, slow.output_result);
  EXPECT_EQ(fast.printed, slow.printed);
  EXPECT_EQ(fast.plan.N1_HS, slow.plan.N1_HS);
  EXPECT_EQ(fast.plan.NC1_LS, slow.plan.NC1_LS);
  EXPECT_EQ(fast.plan.N1, slow.plan.N1);
  EXPECT_EQ(bits_of(fast.fosc), bits_of(slow.fosc));
  ASSERT_EQ(fast.feedback_result, slow.feedback_result);
  EXPECT_EQ(fast.plan.N2, slow.plan.N2);
  if (slow.feedback_result != 0) return;  // nothing else is printed or defined then
  EXPECT_EQ(fast.plan.N2_HS, slow.plan.N2_HS);
  EXPECT_EQ(fast.plan.N2_LS, slow.plan.N2_LS);
  EXPECT_EQ(fast.plan.N31, slow.plan.N31);
  EXPECT_EQ(fast.plan.N32, slow.plan.N32);
  EXPECT_EQ(fast.plan.N33, slow.plan.N33);
  EXPECT_EQ(fast.plan.N34, slow.plan.N34);
  EXPECT_EQ(bits_of(fast.f3), bits_of(slow.f3));
}

// The requested frequencies, as single-precision arguments.
std::vector<float> frequencies() {
  std::vector<float> f = {808.0f, 100.0f,  27.0f,   8.13f,     155.52f, 0.008f, 0.0131f,
                          0.02f,  0.0807f, 0.0095f, 512.0078f, 606.25f, 1.0f,   0.00800001f};
  std::mt19937_64 random(4850);
  std::uniform_real_distribution<double> linear(0.008, 808.0);
  std::uniform_real_distribution<double> logarithmic(std::log(0.008), std::log(808.0));
  std::uniform_real_distribution<double> window(4850.0, 5670.0);
  for (int n = 0; n < 1500; ++n) f.push_back(static_cast<float>(linear(random)));
  for (int n = 0; n < 1500; ++n) f.push_back(static_cast<float>(std::exp(logarithmic(random))));
  // Every small N1, where the most candidates pass the exact test, and a spread of
  // larger ones; the long-scan family (N1 of 7, 8 and 10, above 485 MHz) gets the most.
  for (int n1 = 6; n1 <= 200; ++n1) {
    const int count = n1 == 7 || n1 == 8 || n1 == 10 ? 100 : n1 <= 24 ? 16 : 3;
    for (int k = 0; k < count; ++k) f.push_back(static_cast<float>(window(random) / n1));
  }
  // Near-ties: F near 114.285 x p / q puts every p-th multiple of N1 at the same true
  // error as the best, so rounding alone decides among them; the floats on either side
  // of each ratio, where the tie family ends the search early.
  for (int q = 1; q <= 8; ++q) {
    for (int p = 1; REFERENCE_INPUT_MHZ * p / q <= 808.0; ++p) {
      if (std::gcd(p, q) != 1) continue;
      const float centre = static_cast<float>(REFERENCE_INPUT_MHZ * p / q);
      float below = centre, above = centre;
      f.push_back(centre);
      for (int n = 0; n < 3; ++n) {
        below = std::nextafter(below, 0.0f);
        above = std::nextafter(above, 1000.0f);
        f.push_back(below);
        f.push_back(above);
      }
    }
  }
  // Low frequencies, where the floor fires and no-solution cases live.
  std::uniform_real_distribution<double> low(0.008, 0.05);
  for (int n = 0; n < 500; ++n) f.push_back(static_cast<float>(low(random)));
  return f;
}

constexpr int SHARDS = 16;

class DifferentialShard : public testing::TestWithParam<int> {};

TEST_P(DifferentialShard, FastSearchesMatchTheReference) {
  const std::vector<float> all = frequencies();
  for (std::size_t i = static_cast<std::size_t>(GetParam()); i < all.size(); i += SHARDS) {
    expect_same(all[i]);
    if (HasFatalFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(Frequencies, DifferentialShard, testing::Range(0, SHARDS));

}  // namespace
