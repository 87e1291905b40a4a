#include "console.h"
#include "divider_plan.h"
#include "exact_arithmetic.h"
#include "oscillator_window.h"

namespace {

std::uint32_t next_low_speed(std::uint32_t ls) { return ls == 1 ? 2 : ls + 2; }

// Where the scan of one hs may begin: a candidate whose f is below the window. f grows
// with ls (a larger factor never rounds to a smaller product), so every candidate
// before it is below the window as well and would neither be chosen nor end the scan.
// Starting there saves up to 50,000 steps per hs at the lowest frequencies.
std::uint32_t first_low_speed(double requested, std::uint32_t hs) {
  const double per_step = requested * hs;
  const double below_window = OSCILLATOR_MIN_MHZ / per_step - 2.0;
  if (!(below_window >= 2.0)) return 1;  // also a NaN
  std::uint32_t ls = below_window >= LAST_NC1_LOW_SPEED
                         ? LAST_NC1_LOW_SPEED
                         : static_cast<std::uint32_t>(below_window) & ~std::uint32_t{1};
  if ((requested * hs) * ls >= OSCILLATOR_MIN_MHZ) return 1;
  return ls;
}

}  // namespace

int search_output_dividers(divider_plan& plan, double& fosc) {
  const double requested = plan.out_freq[0];
  plan.N1_HS = NO_N1_HIGH_SPEED;
  plan.NC1_LS = NO_NC1_LOW_SPEED;
  plan.N1 = NO_N1_HIGH_SPEED * NO_NC1_LOW_SPEED;

  for (std::uint32_t hs = FIRST_N1_HIGH_SPEED; hs <= LAST_N1_HIGH_SPEED; ++hs) {
    bool stop = false;
    for (std::uint32_t ls = first_low_speed(requested, hs);
         static_cast<double>(ls) < static_cast<double>(LOW_SPEED_BOUND) && !stop;
         ls = next_low_speed(ls)) {
      // The product only grows with ls, so from here on no pair of this hs can be
      // chosen, and the rest of the scan would change nothing.
      if (hs * ls >= plan.N1) break;
      // Same expression as fosc below, so the chosen pair's f is fosc bit for bit.
      const double f = (requested * hs) * ls;
      // Strictly smaller: of two hs with the same product, the earlier one stays.
      if (f >= OSCILLATOR_MIN_MHZ && f <= OSCILLATOR_MAX_MHZ && hs * ls < plan.N1) {
        plan.N1_HS = hs;
        plan.NC1_LS = ls;
        plan.N1 = hs * ls;
        stop = true;
      }
      if (f > OSCILLATOR_MAX_MHZ) stop = true;
    }
  }

  if (plan.N1_HS == NO_N1_HIGH_SPEED) {
    console_print("No N1 solution found for freq %13.10lf\n", {requested});
    return 1;
  }
  fosc = (requested * plan.N1_HS) * plan.NC1_LS;
  return 0;
}
