#include <csignal>

#include "command_line.h"

int main(int argc, char** argv) {
  // A reader that has gone away must show up as a write error and an exit status,
  // not as death by SIGPIPE.
  std::signal(SIGPIPE, SIG_IGN);
  return run_command_line(argc, argv);
}
