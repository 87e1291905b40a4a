// The fixed-point screen of the feedback search (its shortcut 3): which candidates of
// one N2_HS have y = in2 x N2 / (F x N1) close enough to an integer to be worth the
// exact arithmetic.
#pragma once

#include <cstdint>

// 10^-6 turns ppm into a ratio; the extra 10^-10 is the bounds' rounding margin. Both
// this and the next bound their counterparts in the screen's proof from above.
inline constexpr double PPM_RATIO_WITH_MARGIN = 1.0000000001e-6;
inline constexpr double NEAR_INTEGER_ROUNDING = 0x1p-48;  // above 5.02 x 2^-53

// Shortcut 3 for one hs: y's fractional part per candidate, in units of 2^-64, and the
// window around an integer that a candidate must fall into, a hair below it and the
// error's reach above it: a fraction f is inside when f + below <= width (mod 2^64).
// An open window (below 0, width 2^64 - 1) lets every candidate through.
struct fraction_screen {
  double y_step;  // y from one candidate to the next
  double y_max;   // above y of every candidate
  std::uint32_t candidates;
  std::uint64_t step;
  std::uint64_t below;
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
// the window of an integer, or last + 1; `fraction` follows y's fractional part to it,
// by `step` a candidate (the screen's step walking up, its negation walking down). The
// sums wrap around 2^64 like the fractional part around 1. Four candidates a round
// share one rarely taken branch, and the last few go one at a time.
inline std::uint32_t walk_to_near_integer(const fraction_screen& s, std::uint64_t step,
                                          std::uint64_t& fraction, std::uint32_t k,
                                          std::uint32_t last) {
  const std::uint64_t step2 = 2 * step, step3 = 3 * step, step4 = 4 * step;
  std::uint64_t shifted = fraction + s.below;  // inside when at most s.width
  for (; k + 3 <= last; k += 4, shifted += step4) {
    if ((shifted + step <= s.width) | (shifted + step2 <= s.width) | (shifted + step3 <= s.width) |
        (shifted + step4 <= s.width)) {
      break;
    }
  }
  for (; k <= last; ++k) {
    shifted += step;
    if (shifted <= s.width) break;
  }
  fraction = shifted - s.below;
  return k;
}

// Where the window is this narrow, near integers lie 2^64 / width candidates apart on
// average, and a long scan walks a first stretch and then jumps.
inline constexpr std::uint64_t JUMP_WIDTH = std::uint64_t{1} << 56;
inline constexpr std::uint32_t SCAN_BEFORE_JUMP = 256;

// walk_to_near_integer's answer, found past the first stretch by Euclid's descent: a few
// dozen operations for each of at most about log2(last - k) levels.
std::uint32_t jump_to_near_integer(const fraction_screen& s, std::uint64_t step,
                                   std::uint64_t& fraction, std::uint32_t k, std::uint32_t last);

// walk_to_near_integer, or the jump where it pays. An open window takes every
// candidate; while the best error is still large, most candidates come this way, so it
// costs no call.
inline std::uint32_t next_near_integer(const fraction_screen& s, std::uint64_t step,
                                       std::uint64_t& fraction, std::uint32_t k,
                                       std::uint32_t last) {
  if (s.width > JUMP_WIDTH) {
    if (s.width != OPEN_WIDTH) return walk_to_near_integer(s, step, fraction, k, last);
    if (k <= last) fraction += step;
    return k;
  }
  if (k <= last && last - k > SCAN_BEFORE_JUMP) {
    return jump_to_near_integer(s, step, fraction, k, last);
  }
  return walk_to_near_integer(s, step, fraction, k, last);
}

// The largest candidate from `k` down to `first` whose y lies within the window of an
// integer, or first - 1; `fraction` enters as y's fractional part at k + 1 and follows
// it down: the same scan as upward, with the step negated.
inline std::uint32_t previous_near_integer(const fraction_screen& s, std::uint64_t& fraction,
                                           std::uint32_t k, std::uint32_t first) {
  if (k < first) return first - 1;
  const std::uint32_t position = next_near_integer(s, 0 - s.step, fraction, 1, k - first + 1);
  return k + 1 - position;
}
