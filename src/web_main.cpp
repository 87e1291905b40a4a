// The browser's front end: the same command line, run on the argument the page passes,
// with the text captured for the page to show instead of written to a descriptor.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "command_line.h"
#include "console.h"

// Runs the program on `argument` (one argument, as the shell would pass it; nullptr for
// none), copies what it prints, CR LF line ends included, into `out` as a C string of at
// most `capacity` bytes, and returns the exit status.
extern "C" EMSCRIPTEN_KEEPALIVE int pllcfg_run(const char* argument, char* out, int capacity) {
  const char* argv[] = {"pllcfg", argument, nullptr};
  std::string printed;
  console_capture(&printed);
  const int status = run_command_line(argument != nullptr ? 2 : 1, argv);
  console_capture(nullptr);
  if (capacity > 0) {
    const std::size_t length = std::min(printed.size(), static_cast<std::size_t>(capacity) - 1);
    std::memcpy(out, printed.data(), length);
    out[length] = '\0';
  }
  return status;
}
