#include "argument.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <system_error>

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
constexpr int kKeptDigits = 120;

// Decimal exponents (value = 0.d1d2... x 10^point) outside these bounds are certain:
// 10^39 exceeds the largest float, and 10^-46 is below half the smallest subnormal.
constexpr std::int64_t kOverflowPoint = 40;
constexpr std::int64_t kUnderflowPoint = -46;

// Exponent digits beyond this only make the result more certainly infinite or zero;
// saturating here keeps the sum with any argument length far from overflow.
constexpr std::int64_t kExponentCap = std::int64_t{1} << 40;

}  // namespace

frequency_argument read_frequency_argument(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && is_blank(text[i])) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  char kept[kKeptDigits + 1];
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
    if (kept_count < kKeptDigits) {
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
      if (exponent < kExponentCap) exponent = exponent * 10 + (text[i] - '0');
    }
    point += exponent_negative ? -exponent : exponent;
  }

  const float sign = negative ? -1.0f : 1.0f;
  if (kept_count == 0 || point <= kUnderflowPoint) return {true, sign * 0.0f};
  if (point >= kOverflowPoint) return {true, sign * std::numeric_limits<float>::infinity()};

  // The digits as an integer with a decimal exponent: "d1d2...dk[1]e<point - k>".
  if (dropped_nonzero) kept[kept_count++] = '1';
  char decimal[kKeptDigits + 1 + 8];
  std::size_t length = 0;
  for (int k = 0; k < kept_count; ++k) decimal[length++] = kept[k];
  decimal[length++] = 'e';
  const auto exponent =
      std::to_chars(decimal + length, decimal + sizeof decimal, point - kept_count);
  float magnitude = 0.0f;
  const auto parsed = std::from_chars(decimal, exponent.ptr, magnitude);
  if (parsed.ec == std::errc::result_out_of_range) {
    magnitude = point > 0 ? std::numeric_limits<float>::infinity() : 0.0f;
  }
  return {true, sign * magnitude};
}
