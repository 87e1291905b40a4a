#include "fraction_screen.h"

#include <cmath>

#include "exact_arithmetic.h"

namespace {

constexpr double FIXED_POINT_ONE = 0x1p64;
constexpr double LARGEST_EXACT_STEP = 0x1p52;  // integers and their fractions are exact

}  // namespace

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
  // formed in three roundings, stays below y_max + 1; 2^-48 and 2^-51 exceed 4.01u and
  // 3.01u); all are positive and formed in a few roundings, which 1 + 2^-30 covers.
  const double y_max = screen.y_max;
  const double near_integer =
      best * PPM_RATIO_WITH_MARGIN * (y_max + 1.0) + NEAR_INTEGER_ROUNDING * y_max;
  const double drift = 0x1p-51 * y_max + screen.candidates * 0x1p-64;
  const double half_width = (near_integer + drift) * (1.0 + 0x1p-30);
  if (half_width < 0.25) {
    screen.half_width = static_cast<std::uint64_t>(half_width * FIXED_POINT_ONE) + 1;
    screen.width = 2 * screen.half_width - 1;
  } else {
    screen.half_width = 0;
    screen.width = OPEN_WIDTH;
  }
}
