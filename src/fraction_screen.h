// The fixed-point screen of the feedback search (its shortcut 3): which candidates of
// one N2_HS have y = in2 x N2 / (F x N1) close enough to an integer to be worth the
// exact arithmetic.
#pragma once

#include <cstdint>

// 10^-6 turns ppm into a ratio; the extra 10^-10 is the bounds' rounding margin. Both
// this and the next bound their counterparts in the screen's proof from above.
inline constexpr double PPM_RATIO_WITH_MARGIN = 1.0000000001e-6;
inline constexpr double NEAR_INTEGER_ROUNDING = 0x1p-48;  // above 4.01 x 2^-53

// Shortcut 3 for one hs: y's fractional part per candidate, in units of 2^-64, and the
// window around an integer that a candidate must fall into: a fraction f is inside
// when f + half_width <= width (mod 2^64), where width = 2 half_width - 1. An open
// window (half_width 0, width 2^64 - 1) lets every candidate through.
struct fraction_screen {
  double y_step;  // y from one candidate to the next
  double y_max;   // above y of every candidate
  std::uint32_t candidates;
  std::uint64_t step;
  std::uint64_t half_width;
  std::uint64_t width;
};

inline constexpr std::uint64_t OPEN_WIDTH = ~std::uint64_t{0};

// A screen for candidates k = 1, 2, ... whose y grows by y_step each, open until narrowed.
fraction_screen make_screen(double y_step, std::uint32_t candidates);

// Makes the screen cover the candidates up to `last`: y below y_max, at most `last`
// additions to the fixed-point sum.
void cover_candidates(fraction_screen& screen, std::uint32_t last);

// Sets the window for a best error of `best` ppm over the candidates covered.
void narrow_screen(fraction_screen& screen, double best);

// The first candidate from `k` to `last` (counted in steps of ls) whose y lies within
// the window of an integer, or last + 1; `fraction` follows y's fractional part to it.
// The sums wrap around 2^64 like the fractional part around 1. The hardest
// frequencies spend their time here: four candidates a round share one rarely taken
// branch, and the last few go one at a time.
inline std::uint32_t scan_to_near_integer(const fraction_screen& s, std::uint64_t& fraction,
                                          std::uint32_t k, std::uint32_t last) {
  const std::uint64_t step1 = s.step, step2 = 2 * s.step, step3 = 3 * s.step, step4 = 4 * s.step;
  std::uint64_t shifted = fraction + s.half_width;  // inside when at most s.width
  for (; k + 3 <= last; k += 4, shifted += step4) {
    if ((shifted + step1 <= s.width) | (shifted + step2 <= s.width) | (shifted + step3 <= s.width) |
        (shifted + step4 <= s.width)) {
      break;
    }
  }
  for (; k <= last; ++k) {
    shifted += step1;
    if (shifted <= s.width) break;
  }
  fraction = shifted - s.half_width;
  return k;
}

// An open window takes every candidate; while the best error is still large, most
// candidates come this way, so it costs no call.
inline std::uint32_t next_near_integer(const fraction_screen& s, std::uint64_t& fraction,
                                       std::uint32_t k, std::uint32_t last) {
  if (s.width == OPEN_WIDTH) {
    if (k <= last) fraction += s.step;
    return k;
  }
  return scan_to_near_integer(s, fraction, k, last);
}

// The largest candidate from `k` down to `first` whose y lies within the window of an
// integer, or first - 1; `fraction` enters as y's fractional part at k + 1 and follows
// it down: the same scan as upward, with the step negated.
inline std::uint32_t previous_near_integer(const fraction_screen& s, std::uint64_t& fraction,
                                           std::uint32_t k, std::uint32_t first) {
  if (k < first) return first - 1;
  fraction_screen down = s;
  down.step = 0 - s.step;
  const std::uint32_t position = next_near_integer(down, fraction, 1, k - first + 1);
  return k + 1 - position;
}
