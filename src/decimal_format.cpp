#include "decimal_format.h"

#include <cmath>
#include <cstring>

#include "exact_arithmetic.h"

namespace {

// Exact decimal expansion of a double. A double is m x 2^e with m < 2^53; for e < 0
// it equals m x 5^-e / 10^-e, so the digits of the integer m x 5^-e (at most 767 of
// them, for the smallest subnormal exponent -1074) followed by a shifted point are the
// exact value. For e >= 0 the integer m x 2^e has at most 309 digits.
constexpr std::uint32_t LIMB_BASE = 1000000000;  // nine decimal digits per limb
constexpr int LIMB_DIGITS = 9;
constexpr int MAX_LIMBS = 96;  // 96 x 9 = 864 digits > 767
constexpr int MAX_EXACT_DIGITS = MAX_LIMBS * LIMB_DIGITS;

struct big_decimal {
  std::uint32_t limb[MAX_LIMBS];  // little-endian, base 10^9
  int count;
};

void multiply_small(big_decimal& n, std::uint32_t factor) {
  std::uint64_t carry = 0;
  for (int i = 0; i < n.count; ++i) {
    std::uint64_t product = std::uint64_t{n.limb[i]} * factor + carry;
    n.limb[i] = static_cast<std::uint32_t>(product % LIMB_BASE);
    carry = product / LIMB_BASE;
  }
  while (carry != 0) {
    n.limb[n.count++] = static_cast<std::uint32_t>(carry % LIMB_BASE);
    carry /= LIMB_BASE;
  }
}

void multiply_power(big_decimal& n, std::uint32_t base, int exponent, std::uint32_t chunk,
                    int chunk_exponent) {
  for (; exponent >= chunk_exponent; exponent -= chunk_exponent) multiply_small(n, chunk);
  for (; exponent > 0; --exponent) multiply_small(n, base);
}

// The significant digits of |value| (no leading zeros) and the position of the point:
// |value| = 0.d0 d1 d2 ... x 10^point. Zero gives no digits.
struct exact_digits {
  char digit[MAX_EXACT_DIGITS];
  int count;
  int point;
};

void expand_exact(double value, exact_digits& out) {
  std::uint64_t bits;  // the same byte order as the double on every target
  std::memcpy(&bits, &value, sizeof bits);
  const int biased = static_cast<int>((bits >> 52) & 0x7ff);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  int exponent = biased == 0 ? -1074 : biased - 1075;
  if (biased != 0) mantissa |= std::uint64_t{1} << 52;
  out.count = 0;
  out.point = 0;
  if (mantissa == 0) return;

  big_decimal n{};
  n.limb[0] = static_cast<std::uint32_t>(mantissa % LIMB_BASE);
  n.limb[1] = static_cast<std::uint32_t>(mantissa / LIMB_BASE % LIMB_BASE);
  n.limb[2] = static_cast<std::uint32_t>(mantissa / LIMB_BASE / LIMB_BASE);
  n.count = 3;
  while (n.count > 1 && n.limb[n.count - 1] == 0) --n.count;
  if (exponent >= 0) {
    multiply_power(n, 2, exponent, 1u << 29, 29);
  } else {
    multiply_power(n, 5, -exponent, 1220703125u, 13);  // 5^13 is the largest below 2^32
  }

  char* d = out.digit;
  for (int i = n.count - 1; i >= 0; --i) {
    std::uint32_t limb = n.limb[i];
    char group[LIMB_DIGITS];
    for (int k = LIMB_DIGITS - 1; k >= 0; --k) {
      group[k] = static_cast<char>('0' + limb % 10);
      limb /= 10;
    }
    int start = 0;
    if (d == out.digit) {
      while (start < LIMB_DIGITS - 1 && group[start] == '0') ++start;
    }
    for (int k = start; k < LIMB_DIGITS; ++k) *d++ = group[k];
  }
  out.count = static_cast<int>(d - out.digit);
  out.point = out.count + (exponent < 0 ? exponent : 0);
}

// Half up at `keep` digits: the first dropped digit alone decides, since anything at
// or above half rounds up. A carry out of the first digit lengthens the number by one
// place, which moves the point instead.
void round_half_up(exact_digits& n, int keep) {
  if (keep < 0 || keep >= n.count) return;
  const bool up = n.digit[keep] >= '5';
  n.count = keep;
  if (!up) return;
  int i = keep - 1;
  while (i >= 0 && n.digit[i] == '9') n.digit[i--] = '0';
  if (i >= 0) {
    ++n.digit[i];
  } else {
    n.digit[0] = '1';  // the rest are zeros already
    ++n.point;
  }
}

constexpr int SIGNIFICANT_DIGITS = 17;

std::size_t pad_left(const char* text, std::size_t length, int width, char* out) {
  std::size_t blanks =
      width > static_cast<int>(length) ? static_cast<std::size_t>(width) - length : 0;
  std::memset(out, ' ', blanks);
  std::memcpy(out + blanks, text, length);
  return blanks + length;
}

}  // namespace

std::size_t format_fixed(double value, int decimals, int width, char* out) {
  if (decimals < 0) decimals = 0;
  if (decimals > MAX_DECIMALS) decimals = MAX_DECIMALS;
  if (width > MAX_WIDTH) width = MAX_WIDTH;

  char text[FIXED_TEXT_CAPACITY];
  std::size_t length = 0;
  if (std::signbit(value)) text[length++] = '-';
  if (value != value || value - value != 0.0) {
    const char* word = value != value ? "nan" : "inf";
    std::memcpy(text + length, word, 3);
    return pad_left(text, length + 3, width, out);
  }

  static_assert(MAX_EXACT_DIGITS >= SIGNIFICANT_DIGITS);
  exact_digits n;
  expand_exact(value, n);
  round_half_up(n, SIGNIFICANT_DIGITS);

  // Fixed-point digits: max(point, 1) integer places and `decimals` fraction places.
  // The digit of weight 10^w is d[point - 1 - w], zero outside the string.
  const int integer_places = n.point > 1 ? n.point : 1;
  const int places = integer_places + decimals;
  char fixed[1 + 309 + MAX_DECIMALS];
  auto digit_at = [&n](int index) { return index >= 0 && index < n.count ? n.digit[index] : '0'; };
  const int first_index = n.point - integer_places;
  for (int k = 0; k < places; ++k) fixed[k + 1] = digit_at(first_index + k);
  fixed[0] = '0';
  if (digit_at(first_index + places) >= '5') {
    int k = places;
    while (fixed[k] == '9') fixed[k--] = '0';
    ++fixed[k];
  }
  const int start = fixed[0] == '0' ? 1 : 0;
  const int integer_end = integer_places + 1;
  for (int k = start; k < integer_end; ++k) text[length++] = fixed[k];
  if (decimals > 0) {
    text[length++] = '.';
    for (int k = integer_end; k <= places; ++k) text[length++] = fixed[k];
  }
  return pad_left(text, length, width, out);
}

std::size_t format_integer(std::int32_t value, char* out) {
  std::int64_t magnitude = value < 0 ? -std::int64_t{value} : value;
  char reversed[10];
  int count = 0;
  do {
    reversed[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  std::size_t length = 0;
  if (value < 0) out[length++] = '-';
  while (count > 0) out[length++] = reversed[--count];
  return length;
}
