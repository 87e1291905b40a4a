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

constexpr double kPpm = 1000000.0;
constexpr double kKhzPerMhz = 1000.0;

}  // namespace

int reference_search_output_dividers(divider_plan& plan, double& fosc) {
  const double requested = plan.out_freq[0];
  plan.N1_HS = kNoN1HighSpeed;
  plan.NC1_LS = kNoNC1LowSpeed;
  plan.N1 = kNoN1HighSpeed * kNoNC1LowSpeed;
  for (std::uint32_t hs = kFirstN1HighSpeed; hs <= kLastN1HighSpeed; ++hs) {
    bool stop = false;
    for (std::uint32_t ls = 1; static_cast<double>(ls) < kLowSpeedLimit && !stop;
         ls = ls == 1 ? 2 : ls + 2) {
      const double f = (requested * hs) * ls;
      if (f >= kOscillatorMinMhz && f <= kOscillatorMaxMhz && hs * ls < plan.N1) {
        plan.N1_HS = hs;
        plan.NC1_LS = ls;
        plan.N1 = hs * ls;
        stop = true;
      }
      if (f > kOscillatorMaxMhz) stop = true;
    }
  }
  if (plan.N1_HS == kNoN1HighSpeed) {
    console_print("No N1 solution found for freq %13.10lf\n", {requested});
    return 1;
  }
  fosc = (requested * plan.N1_HS) * plan.NC1_LS;
  return 0;
}

int reference_search_feedback_dividers(divider_plan& plan, double fosc, double& f3) {
  const double requested = plan.out_freq[0];
  plan.N2 = kNoN2;
  plan.N2_HS = 0;
  plan.N2_LS = 0;
  double best = kNoErrorPpm;
  bool done = false;

  for (std::uint32_t hs = kFirstN2HighSpeed; hs <= kLastN2HighSpeed && !done; ++hs) {
    for (std::uint32_t ls = 2; static_cast<double>(ls) <= kLowSpeedLimit && !done; ls += 2) {
      set_input_dividers(plan, fosc, hs, ls);
      const double fosc1 = ((plan.in_freq[0] / plan.N31) * hs) * ls;
      const double fosc2 = ((plan.in_freq[1] / plan.N32) * hs) * ls;
      double err = fosc2 / plan.N1 - requested;
      if (err < 0) err *= -1.0;
      err = (err / requested) * kPpm;
      if (best > err && fosc1 == fosc) {
        const std::uint32_t kept_hs = plan.N2_HS;
        const std::uint32_t kept_ls = plan.N2_LS;
        const std::uint32_t kept_n2 = plan.N2;
        const double kept_best = best;
        plan.N2_HS = hs;
        plan.N2_LS = ls;
        plan.N2 = hs * ls;
        best = err;
        f3 = (fosc * kKhzPerMhz) / plan.N2;
        if (f3 < kPhaseDetectorFloorKhz) {
          plan.N2_HS = kept_hs;
          plan.N2_LS = kept_ls;
          plan.N2 = kept_n2;
          best = kept_best;
          done = true;
        }
      }
    }
  }

  if (best == kNoErrorPpm) {
    console_print("No N2 solution found for freq %13.10lf\n", {requested});
    return 1;
  }
  set_input_dividers(plan, fosc, plan.N2_HS, plan.N2_LS);
  f3 = (fosc * kKhzPerMhz) / plan.N2;
  return 0;
}
