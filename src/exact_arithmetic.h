// The arithmetic every result depends on: IEEE binary64 doubles and binary32 floats,
// each operation rounded to its own type before the next. A target that evaluates
// double expressions in a wider format (the x87 unit of 32-bit x86 without SSE2) would
// still build and then choose other dividers, so it is refused here instead.
#pragma once

#include <cfloat>
#include <cstdint>
#include <cstring>
#include <limits>

static_assert(std::numeric_limits<double>::is_iec559 && std::numeric_limits<double>::digits == 53,
              "pllcfg needs IEEE 754 binary64 doubles: its registers depend on them bit for bit");
static_assert(
    std::numeric_limits<float>::is_iec559 && std::numeric_limits<float>::digits == 24,
    "pllcfg reads the frequency as an IEEE 754 binary32 float, as the %f conversion does");
static_assert(FLT_EVAL_METHOD == 0,
              "pllcfg needs every double operation rounded to double (FLT_EVAL_METHOD 0); on "
              "32-bit x86 build with -msse2 -mfpmath=sse, which the project's CMake adds itself");

// A double's bit pattern and back. Patterns of positive doubles are ordered like their
// values, and neighbouring doubles differ by one in them.
inline std::uint64_t double_bits(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

inline double double_from_bits(std::uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}
