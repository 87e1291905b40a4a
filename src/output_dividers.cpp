#include "console.h"
#include "divider_plan.h"
#include "oscillator_window.h"

int search_output_dividers(divider_plan& plan, double& fosc) {
  const double requested = plan.out_freq[0];
  plan.N1_HS = kNoN1HighSpeed;
  plan.NC1_LS = kNoNC1LowSpeed;
  plan.N1 = kNoN1HighSpeed * kNoNC1LowSpeed;

  for (std::uint32_t hs = kFirstN1HighSpeed; hs <= kLastN1HighSpeed; ++hs) {
    bool stop = false;
    for (std::uint32_t ls = 1; static_cast<double>(ls) < kLowSpeedLimit && !stop;
         ls = ls == 1 ? 2 : ls + 2) {
      // Same expression as fosc below, so the chosen pair's f is fosc bit for bit.
      const double f = (requested * hs) * ls;
      // Strictly smaller: of two hs with the same product, the earlier one stays.
      if (f >= kOscillatorMinMhz && f <= kOscillatorMaxMhz && hs * ls < plan.N1) {
        plan.N1_HS = hs;
        plan.NC1_LS = ls;
        plan.N1 = hs * ls;
        stop = true;
      }
      if (f > kOscillatorMaxMhz)
        stop = true;
    }
  }

  if (plan.N1_HS == kNoN1HighSpeed) {
    console_print("No N1 solution found for freq %13.10lf\n", {requested});
    return 1;
  }
  fosc = (requested * plan.N1_HS) * plan.NC1_LS;
  return 0;
}
