#include "argument.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "exact_arithmetic.h"

namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Keeping this many significant digits, plus a final 1 standing for any nonzero digits
// dropped after them, rounds to the same float as the full text. Every point halfway
// between two floats is an odd number below 2^25 times 2^-150 or a larger power of
// two, so it has at most 113 significant digits: it lies on the grid of the kept
// digits, and a text that differs from the kept digits only further down lies
// strictly between the same two grid points as the sticky 1 does.
constexpr int KEPT_DIGITS = 120;

// Decimal exponents (value = 0.d1d2... x 10^point) outside these bounds are certain:
// 10^39 exceeds the largest float, and 10^-46 is below half the smallest subnormal.
constexpr std::int64_t OVERFLOW_POINT = 40;
constexpr std::int64_t UNDERFLOW_POINT = -46;

// Exponent digits beyond this only make the result more certainly infinite or zero;
// saturating here keeps the sum with any argument length far from overflow.
constexpr std::int64_t EXPONENT_CAP = std::int64_t{1} << 40;

}  // namespace

frequency_argument read_frequency_argument(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && is_blank(text[i])) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  char kept[KEPT_DIGITS + 1];
  int kept_count = 0;
  bool dropped_nonzero = false;
  bool any_digit = false;
  std::int64_t point = 0;  // position of the point relative to the first kept digit
  bool seen_point = false;
  bool seen_significant = false;
  for (; i < n; ++i) {
    const char c = text[i];
    if (c == '.' && !seen_point) {
      seen_point = true;
      continue;
    }
    if (!is_digit(c)) break;
    any_digit = true;
    if (!seen_significant && c == '0') {
      if (seen_point) --point;  // a leading zero after the point lowers the magnitude
      continue;
    }
    seen_significant = true;
    if (!seen_point) ++point;
    if (kept_count < KEPT_DIGITS) {
      kept[kept_count++] = c;
    } else if (c != '0') {
      dropped_nonzero = true;
    }
  }
  if (!any_digit) return {false, 0.0f};

  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool exponent_negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) exponent_negative = text[i++] == '-';
    std::int64_t exponent = 0;
    for (; i < n && is_digit(text[i]); ++i) {
      if (exponent < EXPONENT_CAP) exponent = exponent * 10 + (text[i] - '0');
    }
    point += exponent_negative ? -exponent : exponent;
  }

  const float sign = negative ? -1.0f : 1.0f;
  if (kept_count == 0 || point <= UNDERFLOW_POINT) return {true, sign * 0.0f};
  if (point >= OVERFLOW_POINT) return {true, sign * std::numeric_limits<float>::infinity()};

  // The digits as an integer with a decimal exponent: "d1d2...dk[1]e<point - k>". The
  // C library's strtof rounds such a text to the nearest float, halfway cases to even,
  // on every platform the program builds for; the process never leaves the "C" locale,
  // so it reads the same syntax everywhere. Its range errors need no handling: the
  // bounds above leave only values it returns correctly rounded.
  if (dropped_nonzero) kept[kept_count++] = '1';
  char decimal[KEPT_DIGITS + 1 + 24];
  std::size_t length = 0;
  for (int k = 0; k < kept_count; ++k) decimal[length++] = kept[k];
  decimal[length++] = 'e';
  const auto exponent =
      std::to_chars(decimal + length, decimal + sizeof decimal - 1, point - kept_count);
  *exponent.ptr = '\0';
  return {true, sign * std::strtof(decimal, nullptr)};
}
