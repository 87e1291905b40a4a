#include "decimal_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

std::string fixed(double value, int decimals, int width = 0) {
  char out[FIXED_TEXT_CAPACITY];
  return std::string(out, format_fixed(value, decimals, width, out));
}

TEST(FormatFixed, RoundsTwiceHalfAwayFromZero) {
  static const struct {
    double value;
    int decimals;
    int width;
    const char* expected;
  } cases[] = {
      // Exact halves: a formatter that rounds to even prints the other neighbour.
      {512.0078125, 6, 0, "512.007813"},
      {1.00048828125, 10, 0, "1.0004882813"},
      {0.0009765625, 6, 0, "0.000977"},
      {-512.0078125, 6, 0, "-512.007813"},
      // Just below a half, but a half once rounded to 17 significant digits.
      {0.1234565, 6, 0, "0.123457"},        // 0.12345649999999999679...
      {1234.5678905, 6, 0, "1234.567891"},  // 1234.56789049999997587...
      {999999.9999995, 6, 0, "1000000.000000"},
      // The 17 digits of 1e300 are 10000000000000001 (the 18th is a 5).
      {1e20, 6, 0, "100000000000000000000.000000"},
      {5e-7, 6, 0, "0.000000"},  // 4.9999999999999997737e-7
      {6e-7, 6, 0, "0.000001"},
      {0.0, 6, 0, "0.000000"},
      {-0.0, 6, 0, "-0.000000"},
      {7.0, 0, 0, "7"},
      // The report's numbers and the no-solution message's padded field.
      {8.130000114440918, 6, 0, "8.130000"},
      {4878.000068664551, 6, 0, "4878.000069"},
      {0.009499999694526196, 10, 13, " 0.0094999997"},
      {1000.0, 10, 13, "1000.0000000000"},
      {std::numeric_limits<double>::infinity(), 6, 5, "  inf"},
      {-std::numeric_limits<double>::infinity(), 6, 0, "-inf"},
      {std::numeric_limits<double>::quiet_NaN(), 6, 0, "nan"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fixed(c.value, c.decimals, c.width), c.expected)
        << "value " << c.value << " with " << c.decimals << " decimals";
  }
}

TEST(FormatFixed, SeventeenDigitStepShowsInLargeValues) {
  const std::string text = fixed(1e300, 6);
  EXPECT_EQ(text, "10000000000000001" + std::string(284, '0') + ".000000");
}

// The same two roundings done on the C library's exact digits: "%.800e" prints every
// digit a double has (at most 767), so no rounding happens there.
std::string fixed_by_exact_digits(double value, int decimals) {
  char exact[900];
  std::snprintf(exact, sizeof exact, "%.800e", std::fabs(value));
  std::string digits(1, exact[0]);
  digits += std::string(exact + 2, 800);
  int point = std::atoi(std::strchr(exact, 'e') + 1) + 1;
  auto round_at = [&](int keep) {
    if (keep < 0) {  // the first dropped digit is a leading zero
      digits.assign(1, '0');
      ++point;
      return;
    }
    if (keep >= static_cast<int>(digits.size())) return;
    const bool up = digits[static_cast<std::size_t>(keep)] >= '5';
    digits.resize(static_cast<std::size_t>(keep));
    for (int i = keep - 1; up; --i) {
      if (i < 0) {
        digits.insert(digits.begin(), '1');
        ++point;
        break;
      }
      auto& d = digits[static_cast<std::size_t>(i)];
      if (d == '9') {
        d = '0';
      } else {
        ++d;
        break;
      }
    }
  };
  round_at(17);
  round_at(point + decimals);
  // Lay the digits out at their places.
  std::string text = std::signbit(value) ? "-" : "";
  auto digit = [&](int i) {
    return i >= 0 && i < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(i)]
                                                         : '0';
  };
  for (int i = std::min(0, point - 1); i < point; ++i) text += digit(i);
  text += '.';
  for (int i = point; i < point + decimals; ++i) text += digit(i);
  return text;
}

TEST(FormatFixed, AgreesWithExactDigitsOnRandomDoubles) {
  std::mt19937_64 random(20261211);
  std::uniform_real_distribution<double> exponent(-30.0, 12.0);
  for (int n = 0; n < 20000; ++n) {
    const double value = std::pow(10.0, exponent(random)) * (n % 2 == 0 ? 1 : -1);
    for (int decimals : {6, 10}) {
      ASSERT_EQ(fixed(value, decimals), fixed_by_exact_digits(value, decimals))
          << "value " << std::hexfloat << value << " with " << decimals << " decimals";
    }
  }
}

TEST(FormatInteger, SignedDecimalWithoutPadding) {
  static const struct {
    std::int32_t value;
    const char* expected;
  } cases[] = {{0, "0"},
               {7, "7"},
               {2297400, "2297400"},
               {-1, "-1"},
               {std::numeric_limits<std::int32_t>::max(), "2147483647"},
               {std::numeric_limits<std::int32_t>::min(), "-2147483648"}};
  for (const auto& c : cases) {
    char out[12];
    EXPECT_EQ(std::string(out, format_integer(c.value, out)), c.expected) << c.value;
  }
}

}  // namespace
