#include "divider_plan.h"

int plan_setup(divider_plan& plan) {
  const double requested = plan.out_freq[0];
  plan.out_freq[1] = requested;
  plan.out_freq[2] = requested;
  plan.out_freq[3] = requested;
  plan.in_freq[0] = requested;
  plan.in_freq[1] = REFERENCE_INPUT_MHZ;
  plan.in_freq[2] = requested;
  plan.in_freq[3] = requested;
  return solve_dividers(plan);
}

int solve_dividers(divider_plan& plan) {
  double fosc = 0.0;
  if (search_output_dividers(plan, fosc) != 0) return 1;
  double f3 = 0.0;
  if (search_feedback_dividers(plan, fosc, f3) != 0) return 1;
  return report_and_derive(plan, fosc, f3);
}
