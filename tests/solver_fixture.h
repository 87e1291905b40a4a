// Runs solver stages on a plan built as the front end builds it, with the printed
// text captured instead of written.
#pragma once

#include <string>

#include "console.h"
#include "divider_plan.h"

struct captured_run {
  divider_plan plan{};
  std::string printed;
  int result = -1;
};

// A plan for the requested frequency with the fixed frequency plan laid out.
inline divider_plan plan_for(double requested_mhz) {
  divider_plan plan{};
  plan.out_freq[0] = requested_mhz;
  for (double& f : plan.out_freq) f = requested_mhz;
  for (double& f : plan.in_freq) f = requested_mhz;
  plan.in_freq[1] = REFERENCE_INPUT_MHZ;
  return plan;
}

// plan_setup for the argument as it reads in single precision, widened.
inline captured_run run_plan_setup(float argument_mhz) {
  captured_run run;
  run.plan.out_freq[0] = argument_mhz;
  console_capture(&run.printed);
  run.result = plan_setup(run.plan);
  console_capture(nullptr);
  return run;
}
