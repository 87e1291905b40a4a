// The output and feedback divider searches evaluated candidate by candidate, exactly
// in the order and arithmetic the register contract describes. Slow; for tests and
// benchmarks of the library's searches only.
#pragma once

#include "divider_plan.h"

int reference_search_output_dividers(divider_plan& plan, double& fosc);
int reference_search_feedback_dividers(divider_plan& plan, double fosc, double& f3);
