// Reading the requested frequency from the command-line argument.
#pragma once

#include <string_view>

struct frequency_argument {
  bool is_number;  // false when no digit was found where the number must start
  float mhz;       // the single-precision value nearest the decimal text
};

// Reads a decimal number from the start of `text` the way the "%f" conversion does in
// the C locale: blanks (space, \t, \n, \v, \f, \r) skipped, one optional sign, digits
// with an optional point, an optional exponent after a digit; the first character
// that does not fit ends the number. No hexadecimal, infinity or NaN forms. A value
// beyond single precision becomes an infinity or a zero of its sign.
frequency_argument read_frequency_argument(std::string_view text);
