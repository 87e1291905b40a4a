// Decimal text of doubles and 32-bit integers, as the register report prints them.
#pragma once

#include <cstddef>
#include <cstdint>

// Large enough for any finite double with up to kMaxDecimals decimals, and any width
// up to kMaxWidth.
inline constexpr int kMaxDecimals = 40;
inline constexpr int kMaxWidth = 64;
inline constexpr std::size_t kFixedTextCapacity = 1 + 309 + 1 + kMaxDecimals + kMaxWidth;

// Writes `value` with `decimals` digits after the point (0 to kMaxDecimals),
// right-aligned with blanks in at least `width` characters (up to kMaxWidth), and
// returns the length. The exact value is rounded twice, half away from zero: first
// to 17 significant digits, then at the last printed decimal.
std::size_t format_fixed(double value, int decimals, int width, char* out);

// Writes `value` as a signed decimal with no padding and returns the length (at most 11).
std::size_t format_integer(std::int32_t value, char* out);
