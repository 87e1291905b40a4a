// The program's front end: one argument in, printed text and an exit status out.
#pragma once

// Exit statuses, so that `pllcfg "$f" && program-the-board` stops on any trouble.
enum exit_status : int {
  EXIT_REPORT = 0,       // the register report was printed
  EXIT_NO_SOLUTION = 1,  // a "No N1/N2 solution" message was printed
  EXIT_WRITE_ERROR = 1,  // standard output could not take the text
  EXIT_USAGE = 2,        // the usage text or an "error in argument" message
};

// Runs the whole program for `argc`/`argv` as the platform passes them (argv[0] is
// the program's name) and returns the exit status. A failed write to standard output
// is reported as one line on standard error and turns a status of 0 into 1.
int run_command_line(int argc, const char* const* argv);
