// Decimal text of doubles and 32-bit integers, as the register report prints them.
#pragma once

#include <cstddef>
#include <cstdint>

// Large enough for any finite double with up to MAX_DECIMALS decimals, and any width
// up to MAX_WIDTH.
inline constexpr int MAX_DECIMALS = 40;
inline constexpr int MAX_WIDTH = 64;
inline constexpr std::size_t FIXED_TEXT_CAPACITY = 1 + 309 + 1 + MAX_DECIMALS + MAX_WIDTH;

// Writes `value` with `decimals` digits after the point (0 to MAX_DECIMALS),
// right-aligned with blanks in at least `width` characters (up to MAX_WIDTH), and
// returns the length. The exact value is rounded twice, half away from zero: first
// to 17 significant digits, then at the last printed decimal.
std::size_t format_fixed(double value, int decimals, int width, char* out);

// Writes `value` as a signed decimal with no padding and returns the length (at most 11).
std::size_t format_integer(std::int32_t value, char* out);
