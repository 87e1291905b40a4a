// The searches written literally, candidate by candidate, as the reference that the
// library's shortcuts are tested against.
#include "reference_search.h"

#include "console.h"
#include "oscillator_window.h"

namespace {

// trunc(((in / fosc) x hs) x ls): the grouping that every input divider uses.
std::uint32_t input_divider(double in_mhz, double fosc, std::uint32_t hs, std::uint32_t ls) {
  return static_cast<std::uint32_t>(((in_mhz / fosc) * hs) * ls);
}

void set_input_dividers(divider_plan& plan, double fosc, std::uint32_t hs, std::uint32_t ls) {
  plan.N31 = input_divider(plan.in_freq[0], fosc, hs, ls);
  plan.N32 = input_divider(plan.in_freq[1], fosc, hs, ls);
  plan.N33 = input_divider(plan.in_freq[2], fosc, hs, ls);
  plan.N34 = input_divider(plan.in_freq[3], fosc, hs, ls);
}

constexpr double PPM = 1000000.0;
constexpr double KHZ_PER_MHZ = 1000.0;

}  // namespace

int reference_search_output_dividers(divider_plan& plan, double& fosc) {
  const double requested = plan.out_freq[0];
  plan.N1_HS = NO_N1_HIGH_SPEED;
  plan.NC1_LS = NO_NC1_LOW_SPEED;
  plan.N1 = NO_N1_HIGH_SPEED * NO_NC1_LOW_SPEED;
  for (std::uint32_t hs = FIRST_N1_HIGH_SPEED; hs <= LAST_N1_HIGH_SPEED; ++hs) {
    bool stop = false;
    for (std::uint32_t ls = 1;
         static_cast<double>(ls) < static_cast<double>(LOW_SPEED_BOUND) && !stop;
         ls = ls == 1 ? 2 : ls + 2) {
      const double f = (requested * hs) * ls;
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

int reference_search_feedback_dividers(divider_plan& plan, double fosc, double& f3) {
  const double requested = plan.out_freq[0];
  plan.N2 = NO_N2;
  plan.N2_HS = 0;
  plan.N2_LS = 0;
  double best = NO_ERROR_PPM;
  bool done = false;

  for (std::uint32_t hs = FIRST_N2_HIGH_SPEED; hs <= LAST_N2_HIGH_SPEED && !done; ++hs) {
    for (std::uint32_t ls = 2;
         static_cast<double>(ls) <= static_cast<double>(LOW_SPEED_BOUND) && !done; ls += 2) {
      set_input_dividers(plan, fosc, hs, ls);
      const double fosc1 = ((plan.in_freq[0] / plan.N31) * hs) * ls;
      const double fosc2 = ((plan.in_freq[1] / plan.N32) * hs) * ls;
      double err = fosc2 / plan.N1 - requested;
      if (err < 0) err *= -1.0;
      err = (err / requested) * PPM;
      if (best > err && fosc1 == fosc) {
        const std::uint32_t kept_hs = plan.N2_HS;
        const std::uint32_t kept_ls = plan.N2_LS;
        const std::uint32_t kept_n2 = plan.N2;
        const double kept_best = best;
        plan.N2_HS = hs;
        plan.N2_LS = ls;
        plan.N2 = hs * ls;
        best = err;
        f3 = (fosc * KHZ_PER_MHZ) / plan.N2;
        if (f3 < PHASE_DETECTOR_FLOOR_KHZ) {
          plan.N2_HS = kept_hs;
          plan.N2_LS = kept_ls;
          plan.N2 = kept_n2;
          best = kept_best;
          done = true;
        }
      }
    }
  }

  if (best == NO_ERROR_PPM) {
    console_print("No N2 solution found for freq %13.10lf\n", {requested});
    return 1;
  }
  set_input_dividers(plan, fosc, plan.N2_HS, plan.N2_LS);
  f3 = (fosc * KHZ_PER_MHZ) / plan.N2;
  return 0;
}
