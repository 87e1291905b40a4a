#include <csignal>

#include "command_line.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef SIGPIPE
  // A reader that has gone away must show up as a write error and an exit status,
  // not as death by SIGPIPE.
  std::signal(SIGPIPE, SIG_IGN);
#endif
#ifdef _WIN32
  // Text mode would turn each CR LF of the report into CR CR LF.
  _setmode(1, _O_BINARY);
  _setmode(2, _O_BINARY);
#endif
  return run_command_line(argc, argv);
}
