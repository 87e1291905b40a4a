// Feeds arbitrary bytes to the whole program as its one argument and checks what must
// hold for every argument: the output is exactly one of the program's shapes, the exit
// status matches it, and an accepted frequency lies in 0.008 to 808 MHz.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "command_line.h"
#include "console.h"
#include "expected_messages.h"

namespace {

const std::string_view ARGUMENT_ERRORS[] = {NOT_A_FLOAT, TOO_LOW, TOO_HIGH};

[[noreturn]] void fail(const char* what, const std::string& out) {
  std::fprintf(stderr, "property violated: %s\noutput: %s\n", what, out.c_str());
  std::abort();
}

// The report's format with its line ends widened, as it reaches the reader.
constexpr const char* REPORT =
    "\n\rFreq=%lfMHz fosc=%lfMHz f3=%lfKHz LBW=%lfKHz\n\rN1=%ld\n\rN1_HS=%ld\n\rNC1_LS=%ld"
    "\n\rN2=%ld\n\rN2_HS=%ld\n\rN2_LS=%ld\n\rN31=%ld\n\rN32=%ld\n";

void check_report(const std::string& out, std::string_view report) {
  // scanf lets any white space match a line end, so the numbers are read leniently and
  // the exact bytes are then compared with the report printed again from them.
  double freq, fosc, f3, lbw;
  std::int32_t n1, n1_hs, nc1_ls, n2, n2_hs, n2_ls, n31, n32;
  const std::string text(report);
  if (std::sscanf(text.c_str(),
                  "\r\n\rFreq=%lfMHz fosc=%lfMHz f3=%lfKHz LBW=%lfKHz N1=%d N1_HS=%d NC1_LS=%d "
                  "N2=%d N2_HS=%d N2_LS=%d N31=%d N32=%d",
                  &freq, &fosc, &f3, &lbw, &n1, &n1_hs, &nc1_ls, &n2, &n2_hs, &n2_ls, &n31,
                  &n32) != 12) {
    fail("report shape", out);
  }
  char again[MAX_FORMATTED_LENGTH];
  std::string wire;
  for (char c : std::string_view(
           again,
           format_text(REPORT, {freq, fosc, f3, lbw, n1, n1_hs, nc1_ls, n2, n2_hs, n2_ls, n31, n32},
                       again))) {
    if (c == '\n') wire += '\r';
    wire += c;
  }
  if (wire != text) fail("report bytes", out);
  if (freq < 0.008 || freq > 808.0) fail("accepted frequency out of range", out);
  if (fosc < 4850.0 || fosc > 5670.0) fail("oscillator outside its window", out);
  if (f3 < 2.0) fail("f3 below the 2 kHz floor", out);
  if (std::int64_t{n1} != std::int64_t{n1_hs} * nc1_ls ||
      std::int64_t{n2} != std::int64_t{n2_hs} * n2_ls) {
    fail("divider products", out);
  }
  if (std::int64_t{n31} * n1 != n2) fail("input 1 does not reproduce fosc", out);
}

void check(const std::string& out, int status) {
  if (status == EXIT_USAGE) {
    for (std::string_view message : ARGUMENT_ERRORS) {
      if (out == message) return;
    }
    fail("argument error shape", out);
  }
  const std::string_view banner = BANNER;
  if (out.compare(0, banner.size(), banner) != 0) fail("banner", out);
  const std::string_view rest = std::string_view(out).substr(banner.size());
  if (status == EXIT_REPORT) return check_report(out, rest);
  if (status != EXIT_NO_SOLUTION) fail("exit status", out);
  double freq = 0.0;
  char line_end[3] = {};
  if (rest.size() != 45 ||
      std::sscanf(std::string(rest).c_str(), "No N2 solution found for freq %13lf%2c", &freq,
                  line_end) != 2 ||
      std::strcmp(line_end, "\r\n") != 0 || freq < 0.008 || freq > 808.0) {
    fail("no-solution shape", out);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The platform hands over arguments as C strings: a NUL ends one.
  std::string argument(reinterpret_cast<const char*>(data), size);
  argument.resize(std::strlen(argument.c_str()));
  const char* argv[] = {"pllcfg", argument.c_str(), nullptr};
  std::string out;
  console_capture(&out);
  const int status = run_command_line(2, argv);
  console_capture(nullptr);
  check(out, status);
  return 0;
}
