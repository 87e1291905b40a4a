#include "argument.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

namespace {

constexpr float INF = std::numeric_limits<float>::infinity();

TEST(ReadFrequencyArgument, NumberSyntax) {
  static const struct {
    const char* text;
    float expected;
  } cases[] = {
      {"8.13", 8.13f},
      {"8.13MHz", 8.13f},  // the first character that does not fit ends the number
      {"8.13 ", 8.13f},
      {" \t\n\v\f\r8.13", 8.13f},
      {"+8.13", 8.13f},
      {"8,13", 8.0f},
      {"1.5.3", 1.5f},
      {".5", 0.5f},
      {"5.", 5.0f},
      {"1e2", 100.0f},
      {"1E+2", 100.0f},
      {"2.5e-1", 0.25f},
      {"1e", 1.0f},  // an exponent marker no digit follows adds nothing
      {"1e+", 1.0f},
      {"2.5E", 2.5f},
      {"1e2e3", 100.0f},
      {"0x10", 0.0f},
      {"0008.130", 8.13f},
      {"-1", -1.0f},
      {"808.00003", 808.0f},
      {"808.00004", 808.00006103515625f},
      {"0.00799999992", 0.00800000037997961f},
      {"0.00799999991", 0.007999999448657036f},
      {"1e-50", 0.0f},
      {"1e39", INF},
      {"-1e39", -INF},
      {"3.4028235e38", std::numeric_limits<float>::max()},
      {"1.4e-45", std::numeric_limits<float>::denorm_min()},
  };
  for (const auto& c : cases) {
    const frequency_argument a = read_frequency_argument(c.text);
    EXPECT_TRUE(a.is_number) << '"' << c.text << '"';
    EXPECT_EQ(a.mhz, c.expected) << '"' << c.text << '"';
  }
}

TEST(ReadFrequencyArgument, NoDigitIsNotANumber) {
  static const char* const cases[] = {"",  "   ", "abc", "inf", "nan",  "e5",       ",5",
                                      "+", "-",   ".",   "+.",  "-.e5", "\xff\x31", "infinity"};
  for (const char* text : cases) {
    EXPECT_FALSE(read_frequency_argument(text).is_number) << '"' << text << '"';
  }
}

TEST(ReadFrequencyArgument, SignOfZeroIsKept) {
  EXPECT_TRUE(std::signbit(read_frequency_argument("-0").mhz));
  EXPECT_TRUE(std::signbit(read_frequency_argument("-1e-99").mhz));
  EXPECT_FALSE(std::signbit(read_frequency_argument("0e99").mhz));
}

TEST(ReadFrequencyArgument, HugeTextsAreReadInFull) {
  const std::string zeros(1 << 20, '0');
  static const struct {
    std::string text;
    float expected;
  } cases[] = {
      {"1" + zeros, INF},
      {"0." + zeros + "1", 0.0f},
      {zeros + "8.13", 8.13f},
      {"8.13" + zeros + "1", 8.13f},
      {std::string(1 << 20, '1') + "e-1048575", 1.11111111f},
      {"1e" + std::string(999, '0') + "1", 10.0f},
      {"1e" + std::string(1000, '9'), INF},
      {"1e-" + std::string(1000, '9'), 0.0f},
      {std::string(1 << 20, ' ') + "27", 27.0f},
      // Exactly halfway between 1 and the next float rounds to even; any nonzero digit
      // however far down tips it up.
      {"1.000000059604644775390625", 1.0f},
      {"1.000000059604644775390625" + zeros + "1", 1.00000011920928955078125f},
      // Halfway between two floats in 30 significant digits: the even neighbour below,
      // and a hair above or below it goes to its own side.
      {"0.0101000000722706317901611328125", 0.010099999606609344482421875f},
      {"0.01010000007227063179016113281251", 0.010100000537931919097900390625f},
      {"0.01010000007227063179016113281249999", 0.010099999606609344482421875f},
  };
  for (const auto& c : cases) {
    const frequency_argument a = read_frequency_argument(c.text);
    EXPECT_TRUE(a.is_number) << c.text.substr(0, 40) << "... (" << c.text.size() << " bytes)";
    EXPECT_EQ(a.mhz, c.expected) << c.text.substr(0, 40) << "... (" << c.text.size() << " bytes)";
  }
  EXPECT_FALSE(read_frequency_argument(std::string(1 << 20, ' ')).is_number);
}

// For plain decimal texts the C library's strtof is a correctly rounding reference.
TEST(ReadFrequencyArgument, AgreesWithStrtofOnRandomDecimals) {
  std::mt19937 random(8130);
  auto pick = [&random](int below) {
    return static_cast<int>(random() % static_cast<unsigned>(below));
  };
  for (int n = 0; n < 50000; ++n) {
    std::string text;
    const int digits = 1 + pick(n % 10 == 0 ? 150 : 12);
    const int point = pick(digits + 1);
    for (int k = 0; k < digits; ++k) {
      if (k == point) text += '.';
      text += static_cast<char>('0' + pick(10));
    }
    if (pick(3) == 0) {
      text += 'e';
      text += std::to_string(pick(90) - 45);
    }
    const float expected = std::strtof(text.c_str(), nullptr);
    ASSERT_EQ(read_frequency_argument(text).mhz, expected) << text;
  }
}

}  // namespace
