// The one way the program's text leaves the process.
//
// Texts are printf-style formats with three conversions: %lf (six decimals),
// %<width>.<decimals>lf and %ld (a 32-bit value as a signed decimal). Numbers follow
// format_fixed and format_integer. On the way out every line feed becomes a
// carriage return plus line feed; nothing else changes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// One value for a conversion: a double for %lf, a divider or code for %ld.
struct print_arg {
  print_arg(double value) : is_integer(false), real(value), integer(0) {}
  print_arg(std::int32_t value) : is_integer(true), real(0), integer(value) {}
  // Dividers are unsigned but all fit in 31 bits, so the signed view shows the same value.
  print_arg(std::uint32_t value)
      : is_integer(true), real(0), integer(static_cast<std::int32_t>(value)) {}
  bool is_integer;
  double real;
  std::int32_t integer;
};

// Longest text one console_print can produce before line ends are widened.
inline constexpr std::size_t MAX_FORMATTED_LENGTH = 4096;

// Formats `format` with `args` into `out` (MAX_FORMATTED_LENGTH bytes) and returns the
// length. Line feeds are left as they are; a conversion without a matching argument,
// or of the other kind, prints nothing.
std::size_t format_text(std::string_view format, std::initializer_list<print_arg> args, char* out);

// Formats and writes to standard output with line feeds widened to CR LF. After the
// first failed write nothing more is written; the failure is kept for console_failure.
void console_print(std::string_view format, std::initializer_list<print_arg> args = {});

// The errno of the first failed write to standard output since start (or since the
// last console_capture), or 0.
int console_failure();

// Writes `text` and a line feed to standard error, ignoring any failure there.
void console_diagnose(std::string_view text);

// Sends standard-output text to `sink` instead of file descriptor 1 (nullptr restores
// it), and forgets any earlier failure. For running the program in-process.
void console_capture(std::string* sink);
