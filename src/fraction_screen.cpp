#include "fraction_screen.h"

#include <cmath>

#include "exact_arithmetic.h"

namespace {

constexpr double FIXED_POINT_ONE = 0x1p64;
constexpr double LARGEST_EXACT_STEP = 0x1p52;  // integers and their fractions are exact

// The least j from 0 to `horizon` with x + j x step (mod `modulus`) at most `width`, or
// horizon + 1, on a circle of `modulus` points (0 standing for 2^64), with x, step and
// width below it. Its answer is exact: each level replaces the walk by the points where
// it wraps, which form the same kind of walk on a smaller circle.
std::uint64_t first_within_modulo(std::uint64_t modulus, std::uint64_t x, std::uint64_t step,
                                  std::uint64_t width, std::uint64_t horizon) {
  const std::uint64_t none = horizon + 1;
  if (x <= width) return 0;
  if (step == 0) return none;
  // A step past half the circle is a shorter one backwards; w - v maps the window [0, w]
  // onto itself, so the walk from w - x by -step is inside exactly when this one is.
  if (step > modulus - step) {
    return first_within_modulo(modulus, modulus - (x - width), modulus - step, width, horizon);
  }
  // Above the window, the walk can only enter it as it wraps: from x it wraps first
  // after first_wrap steps, landing on `landing`, below step.
  const std::uint64_t to_wrap = modulus - x;
  const std::uint64_t first_wrap = to_wrap / step + (to_wrap % step != 0 ? 1 : 0);
  if (first_wrap > horizon) return none;
  const std::uint64_t landing = first_wrap * step - to_wrap;
  if (landing <= width) return first_wrap;
  // modulus = laps x step + shortfall. Each later wrap lands `shortfall` lower on the
  // circle of `step` points, after laps steps, or laps + 1 when it borrows a lap there.
  const std::uint64_t laps = modulus == 0 ? (0 - step) / step + 1 : modulus / step;
  const std::uint64_t shortfall = modulus == 0 ? (0 - step) % step : modulus % step;
  if (shortfall == 0) return none;
  const std::uint64_t wraps_in_reach = (horizon - first_wrap) / laps;
  const std::uint64_t wraps =
      first_within_modulo(step, landing, step - shortfall, width, wraps_in_reach);
  if (wraps > wraps_in_reach) return none;
  // The borrows over those wraps, counted by doubling: 2^e wraps move a landing down by
  // drop = 2^e x shortfall mod step and borrow whole = 2^e x shortfall / step times,
  // once more when the landing is below drop.
  std::uint64_t borrows = 0;
  std::uint64_t at = landing;
  std::uint64_t drop = shortfall;
  std::uint64_t whole = 0;
  for (std::uint64_t left = wraps; left != 0; left >>= 1) {
    if ((left & 1) != 0) {
      borrows += whole + (at < drop ? 1 : 0);
      at = at < drop ? at + (step - drop) : at - drop;
    }
    const bool carries = drop >= step - drop;
    whole = 2 * whole + (carries ? 1 : 0);
    drop = carries ? drop - (step - drop) : drop + drop;
  }
  const std::uint64_t steps = first_wrap + wraps * laps + borrows;
  return steps <= horizon ? steps : none;
}

}  // namespace

std::uint32_t jump_to_near_integer(const fraction_screen& s, std::uint64_t step,
                                   std::uint64_t& fraction, std::uint32_t k, std::uint32_t last) {
  const std::uint32_t stretch_last = k + SCAN_BEFORE_JUMP;
  k = walk_to_near_integer(s, step, fraction, k, stretch_last);
  if (k <= stretch_last || k > last) return k;
  // The shifted sums from candidate k on, inside when at most width.
  const std::uint64_t horizon = last - k;
  const std::uint64_t j = first_within_modulo(0, fraction + s.below + step, step, s.width, horizon);
  fraction += step * (j <= horizon ? j + 1 : j);
  return k + static_cast<std::uint32_t>(j);
}

fraction_screen make_screen(double y_step, std::uint32_t candidates) {
  fraction_screen screen{};
  screen.y_step = y_step;
  screen.y_max = y_step * candidates + 1.0;
  screen.candidates = candidates;
  screen.width = OPEN_WIDTH;
  // The fractional part of a double below 2^52 is exact, and so is its scaling.
  if (y_step >= 0.0 && y_step < LARGEST_EXACT_STEP) {
    screen.step = static_cast<std::uint64_t>((y_step - std::floor(y_step)) * FIXED_POINT_ONE);
  }
  return screen;
}

void cover_candidates(fraction_screen& screen, std::uint32_t last) {
  screen.y_max = screen.y_step * last + 1.0;
  screen.candidates = last;
}

void narrow_screen(fraction_screen& screen, double best) {
  if (!(screen.y_step >= 0.0 && screen.y_step < LARGEST_EXACT_STEP)) return;
  // Each term bounds its counterpart in shortcut 3 from above (N32, a truncation of y
  // formed in three roundings, stays below y_max + 1; 2^-48 and 2^-51 exceed 5.02u and
  // 3.01u); all are positive and formed in a few roundings, which 1 + 2^-30 covers.
  // Below an integer, only the roundings reach: N32 truncates y.
  const double y_max = screen.y_max;
  const double rounding = NEAR_INTEGER_ROUNDING * y_max;
  const double drift = 0x1p-51 * y_max + screen.candidates * 0x1p-64;
  const double reach_below = (rounding + drift) * (1.0 + 0x1p-30);
  const double reach_above =
      (best * PPM_RATIO_WITH_MARGIN * (y_max + 1.0) + rounding + drift) * (1.0 + 0x1p-30);
  if (reach_below + reach_above < 0.5) {
    screen.below = static_cast<std::uint64_t>(reach_below * FIXED_POINT_ONE) + 1;
    screen.width = screen.below + static_cast<std::uint64_t>(reach_above * FIXED_POINT_ONE);
  } else {
    screen.below = 0;
    screen.width = OPEN_WIDTH;
  }
}
