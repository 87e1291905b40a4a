#include "command_line.h"

#include <cstring>

#include "argument.h"
#include "console.h"
#include "divider_plan.h"

namespace {

// The accepted range of the requested frequency (MHz). The lower bound is tested on
// the widened value against the double nearest 0.008, the upper one in single
// precision, so 808.00003 (which reads as 808.0f) is still accepted.
constexpr double LOWEST_MHZ = 0.008;
constexpr float HIGHEST_MHZ = 808.0f;

int check_and_solve(int argc, const char* const* argv) {
  if (argc != 2) {
    console_print(
        "The requested frequency must be provided for proper use of this program:\n"
        "\tUsage: pllcfg.exe <frequency_in_mhz>\n"
        "\tExample: pllset.exe 8.13\n");
    return EXIT_USAGE;
  }
  const frequency_argument argument = read_frequency_argument(argv[1]);
  if (!argument.is_number) {
    console_print("error in argument - not a float\n");
    return EXIT_USAGE;
  }
  const double requested = argument.mhz;
  if (requested < LOWEST_MHZ) {
    console_print("error in argument - the freuqnecy must be greater than or equal to 0.008 MHz\n");
    return EXIT_USAGE;
  }
  if (argument.mhz > HIGHEST_MHZ) {
    console_print("error in argument - the frequency must be less than or equal to 808 MHz");
    return EXIT_USAGE;
  }

  divider_plan plan{};
  plan.out_freq[0] = requested;
  console_print("These are the register values for the Si5328:\n");
  return plan_setup(plan) == 0 ? EXIT_REPORT : EXIT_NO_SOLUTION;
}

}  // namespace

int run_command_line(int argc, const char* const* argv) {
  const int status = check_and_solve(argc, argv);
  const int failure = console_failure();
  if (failure == 0) return status;
  char line[256] = "pllcfg: write error: ";
  std::strncat(line, std::strerror(failure), sizeof line - std::strlen(line) - 1);
  console_diagnose(line);
  return status == EXIT_USAGE ? EXIT_USAGE : EXIT_WRITE_ERROR;
}
