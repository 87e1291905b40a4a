#include "console.h"
#include "divider_plan.h"
#include "exact_arithmetic.h"

namespace {

// The loop bandwidth figure is f3 / 25.
constexpr double LOOP_BANDWIDTH_DIVISOR = 25.0;

constexpr std::int32_t FIXED_WORDS[6] = {1, 0, 0, 0, 0, 0};

}  // namespace

int report_and_derive(divider_plan& plan, double fosc, double f3) {
  console_print(
      "\n\rFreq=%lfMHz fosc=%lfMHz f3=%lfKHz LBW=%lfKHz\n\rN1=%ld\n\rN1_HS=%ld\n\rNC1_LS=%ld"
      "\n\rN2=%ld\n\rN2_HS=%ld\n\rN2_LS=%ld\n\rN31=%ld\n\rN32=%ld\n",
      {plan.out_freq[0], fosc, f3, f3 / LOOP_BANDWIDTH_DIVISOR, plan.N1, plan.N1_HS, plan.NC1_LS,
       plan.N2, plan.N2_HS, plan.N2_LS, plan.N31, plan.N32});
  for (int k = 0; k < 6; ++k) plan.fixed_word[k] = FIXED_WORDS[k];
  for (int k = 0; k < 4; ++k) {
    // The product first: fosc / (N1_HS x F) is exactly NC1_LS for every plan the
    // front end builds, since both products are exact in double precision.
    plan.NC_LS_out[k] = static_cast<std::uint32_t>(fosc / (plan.N1_HS * plan.out_freq[k]));
  }
  for (int k = 0; k < 4; ++k) plan.in_rate_code[k] = input_rate_code(plan.in_freq[k]);
  return 0;
}

int input_rate_code(double mhz) {
  // Upper edges of codes 0-4 (MHz); a frequency on an edge takes the next code.
  static constexpr double RATE_EDGES[5] = {27.0, 54.0, 105.0, 215.0, 435.0};
  for (int code = 0; code < 5; ++code) {
    if (mhz < RATE_EDGES[code]) return code;
  }
  return 5;  // also a NaN, which is below no edge
}
