#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "console.h"
#include "divider_plan.h"
#include "exact_arithmetic.h"
#include "fraction_screen.h"
#include "oscillator_window.h"
#include "tie_family.h"

// The search ends with exactly the keep, undo and stop of a candidate-by-candidate
// walk in the order the register contract gives (hs 4-11 outer, even ls up to 2^20
// inner). It skips work only where the skipped candidate provably could not be kept,
// and within one hs it may look at candidates in another order where shortcut 6 shows
// that the outcome is the same; a candidate that is not kept changes nothing but the
// input dividers, which are recomputed for the kept one at the end.
// Below, u = 2^-53 is the relative rounding error of one operation, y = in2 x N2 /
// (F x N1) is the real value that N32 truncates (in2 = 114.285 MHz), and a keep needs
// err < best.
//
// 1. Multiples of N1 only. Input 1 runs at F, fosc is F x N1 within two roundings
//    (exactly, for F read in single precision), and fosc1 = ((F / N31) x hs) x ls is
//    F x N2 / N31 within three. fosc1 == fosc therefore needs N2 / N31 within a
//    relative 5.1u of N1, so |N2 - N1 x N31| < 5.1u x N2 < 1 for N2 < 2^24: N2 = hs x ls
//    must be a multiple of N1. For each hs those ls are the multiples of
//    lcm(2, N1 / gcd(N1, hs)).
//
// 2. Error bound without division. err is |q - F| / F x 10^6 with
//    q = in2 x N2 / (N32 x N1) formed in four roundings, then three more, so
//    err >= (|a - b| - 4.01u a) / b x 10^6 (1 - 3.01u) with a = in2 x N2 and
//    b = F x N1 x N32. Forming A = in2 x N2, B = (F x N1) x N32 and A - B adds at most
//    5.1u (A + B); hence |A - B| > best x 1.0000000001e-6 x B + 2^-49 (A + B), itself
//    formed in four roundings, implies err >= best. The margins, a relative 10^-10 and
//    16u of A + B, cover every rounding here many times over.
//
// 3. Fixed-point screen. Dividing the inequality of 2 by F and multiplying it by
//    N32 x N1 shows that a kept candidate has |y - N32| < best x 10^-6 x N32 (1 + 4u)
//    + 4.01u y: y lies that close to an integer. Below it only by roundings: N32
//    truncates y formed from in2 / fosc in three roundings, fosc being F x N1 within
//    two, so y - N32 > -5.02u y. Along one hs, y grows by the same step for every
//    candidate, so its fractional part is followed as a 64-bit fixed-point sum, walking
//    up or down. The step is formed in three roundings and cut to 64 fraction bits, so
//    with y_max above y and J above the index of every candidate covered, the sum
//    strays from the true fractional part by less than 3.01u y_max + J x 2^-64. Only
//    candidates whose sum lies within that stray plus 5.02u y_max below an integer, or
//    within it plus the first bound above, need the arithmetic of 2 and the exact test.
//    Where such candidates are far apart, the next one is found by Euclid's descent
//    over the sum's step, which lands on the same candidate as trying each in turn.
//
// 4. Exact zero. Once a candidate with err == 0.0 is kept (and stays kept), no later
//    candidate is strictly better and the floor cannot fire, so the search ends there.
//
// 5. Exhausted near-ties. Once the best error is held by a family of near-ties that no
//    member can improve on and, below some N2, nothing else can beat (tie_family.h),
//    the candidates of the hs below that N2 need no look. They would not be kept, so
//    the floor could not fire on them either. Where members can still improve, the
//    walks up still look only at them below the N2 where nothing else can.
//
// 6. One lowest error per hs. f3 only falls as N2 grows, so below the first N2 whose f3
//    is under the floor no keep is ever undone. There the walk keeps a chain of ever
//    lower errors and ends holding the first candidate that computes the lowest error
//    below the best (an error of 0.0 being the lowest there is). So the search finds
//    that lowest error walking down the hs, where the lowest errors usually lie and
//    where, once one is in hand, the screen turns almost every other candidate away;
//    then, walking up, the first candidate that computes it. From the floor's N2 on,
//    the first keep would be undone and end the search, so all that matters there is
//    whether any candidate could be kept.
//
// 7. Floor checks on demand. Whether a row's candidates from the floor's N2 on hold a
//    keepable one decides only whether the search ends before the next rows. That
//    matters only if a later row would keep something: so, past its first few
//    candidates, the check of each row waits until a later row finds an error below
//    the best, and is made then, with the same best (nothing was kept in between). If
//    no later row keeps anything, the rest of the check is never needed.

namespace {

constexpr double KHZ_PER_MHZ = 1000.0;

constexpr double ROUNDING_SLACK = 0x1p-49;

// trunc(((in / fosc) x hs) x ls), the grouping every input divider uses; in_per_fosc
// is in / fosc, the same double every time it is formed.
std::uint32_t input_divider(double in_per_fosc, std::uint32_t hs, std::uint32_t ls) {
  return static_cast<std::uint32_t>((in_per_fosc * hs) * ls);
}

// The smallest N2 whose f3 = (fosc x 1000) / N2 falls below the floor, or 2^32 + 1 for
// none. A larger divisor never rounds to a larger quotient, so f3 only falls as N2 grows:
// comparing a keep's N2 with this decides the floor exactly as its f3 would, with no
// division per keep. The final f3 is computed once the search is over.
std::uint64_t first_n2_under_floor(double fosc) {
  const double scaled = fosc * KHZ_PER_MHZ;
  std::uint64_t low = 1;
  std::uint64_t high = std::uint64_t{1} << 32;
  if (!(scaled / static_cast<double>(high) < PHASE_DETECTOR_FLOOR_KHZ)) return high + 1;
  while (low < high) {
    const std::uint64_t middle = low + (high - low) / 2;
    if (scaled / static_cast<double>(middle) < PHASE_DETECTOR_FLOOR_KHZ) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return low;
}

// The first candidate (counted in steps of ls, up to candidates + 1 for none) at or
// above an N2 below which nothing can be kept (shortcut 5). Rounding down only means
// visiting a candidate more.
std::uint32_t first_left_to_visit(double n2_limit, std::uint32_t hs, std::uint32_t step,
                                  std::uint32_t candidates) {
  const double k = n2_limit / (static_cast<double>(hs) * step);
  if (!(k >= 1.0)) return 1;
  if (k >= candidates + 1.0) return candidates + 1;
  return static_cast<std::uint32_t>(k);
}

// The first candidate whose N2 = hs x k x step is at least n2, or candidates + 1.
std::uint32_t first_at_or_above(std::uint64_t n2, std::uint32_t hs, std::uint32_t step,
                                std::uint32_t candidates) {
  const std::uint64_t per_candidate = std::uint64_t{hs} * step;
  const std::uint64_t k = (n2 + per_candidate - 1) / per_candidate;
  if (k < 1) return 1;
  return k > candidates ? candidates + 1 : static_cast<std::uint32_t>(k);
}

// What every candidate of one search is judged with.
struct search_constants {
  double requested;
  double in1;
  double in2;
  double fosc;
  double in1_per_fosc;
  double in2_per_fosc;
  double requested_times_n1;
  std::uint32_t n1;
};

// The candidates of one hs, counted k = 1 to count with ls = k x step, and their screen.
struct candidate_row {
  std::uint32_t hs;
  std::uint32_t step;
  std::uint32_t count;
  fraction_screen screen;
};

// Shortcut 2: false only when the candidate's error is certainly at least `best`.
bool within_bound(const search_constants& c, std::uint32_t hs, std::uint32_t ls, std::uint32_t n32,
                  double best) {
  const double a = c.in2 * static_cast<double>(hs * ls);
  const double b = c.requested_times_n1 * n32;
  return !(std::fabs(a - b) > best * PPM_RATIO_WITH_MARGIN * b + (a + b) * ROUNDING_SLACK);
}

double error_of_fosc2(const search_constants& c, double fosc2) {
  return feedback_error_ppm(fosc2, c.n1, c.requested);
}

// A candidate's error, its fosc2 grouped as the register contract has it.
double error_ppm(const search_constants& c, std::uint32_t hs, std::uint32_t ls, std::uint32_t n32) {
  return error_of_fosc2(c, ((c.in2 / n32) * hs) * ls);
}

// The exact test: input 1 through N31 reproduces fosc bit for bit.
bool reproduces_fosc(const search_constants& c, std::uint32_t hs, std::uint32_t ls) {
  const std::uint32_t n31 = input_divider(c.in1_per_fosc, hs, ls);
  return ((c.in1 / n31) * hs) * ls == c.fosc;
}

// Walking down, this many new lowest errors mean the errors fall with the candidate, and
// the rest of the row is better walked up.
constexpr int DOWNWARD_RUN = 8;

struct lowest_error {
  std::uint32_t k;  // 0 when no candidate is below the best
  double err;
};

// A stretch of candidates walked member by member only when longer than this: below
// it, the screen's walk costs no more.
constexpr std::uint32_t MEMBER_WALK_AT_LEAST = 64;

// Walks the candidates from `first` to `last` upward and hands `visit` each one that
// the screen and the bound let through for `bar`, which may fall as the walk goes;
// `visit` returns true to stop there. Returns that candidate, or count + 1. Chunks grow
// by a quarter: the window is set by the largest y it covers, so it stays nearly as
// narrow as the candidates in view allow.
//
// Below the N2 where only members of the family of near-ties can pass (tie_family.h),
// only members are handed over: every stride-th candidate, where N2 / N1 is a multiple
// of the family's. The bound holds for `bar` and so for any lower bar.
template <typename Visit>
std::uint32_t walk_up(const search_constants& c, candidate_row& row, const tie_family& family,
                      const double& bar, std::uint32_t first, std::uint32_t last, Visit visit) {
  std::uint64_t multiple = 0;
  const std::uint32_t members_end = std::min(
      last + 1,
      first_left_to_visit(members_only_below(family, bar, multiple), row.hs, row.step, row.count));
  if (members_end > first && members_end - first > MEMBER_WALK_AT_LEAST) {
    // N1 divides hs x step (step is a multiple of N1 / gcd(N1, hs)).
    const std::uint64_t n1_multiples_per_candidate = std::uint64_t{row.hs} * row.step / c.n1;
    const std::uint64_t stride = multiple / std::gcd(multiple, n1_multiples_per_candidate);
    for (std::uint64_t k = (first + stride - 1) / stride * stride; k < members_end; k += stride) {
      const std::uint32_t ls = static_cast<std::uint32_t>(k) * row.step;
      const std::uint32_t n32 = input_divider(c.in2_per_fosc, row.hs, ls);
      if (within_bound(c, row.hs, ls, n32, bar) && visit(static_cast<std::uint32_t>(k), ls, n32)) {
        return static_cast<std::uint32_t>(k);
      }
    }
    first = members_end;
  }
  for (std::uint32_t low = first; low <= last && low != 0;) {
    const std::uint32_t high = last - low < low / 4 ? last : low + low / 4;
    cover_candidates(row.screen, high);
    narrow_screen(row.screen, bar);
    std::uint64_t fraction = row.screen.step * (std::uint64_t{low} - 1);
    for (std::uint32_t k = next_near_integer(row.screen, row.screen.step, fraction, low, high);
         k <= high; k = next_near_integer(row.screen, row.screen.step, fraction, k + 1, high)) {
      const std::uint32_t ls = k * row.step;
      const std::uint32_t n32 = input_divider(c.in2_per_fosc, row.hs, ls);
      if (within_bound(c, row.hs, ls, n32, bar) && visit(k, ls, n32)) return k;
    }
    if (high == last) break;
    low = high + 1;
  }
  return row.count + 1;
}

// The lowest error below `best` that a candidate from `first` to `last` computes and
// whose exact test it passes, with the first candidate that computes it, walking up.
lowest_error lowest_walking_up(const search_constants& c, candidate_row& row,
                               const tie_family& family, double best, std::uint32_t first,
                               std::uint32_t last) {
  lowest_error lowest{0, best};
  walk_up(c, row, family, lowest.err, first, last,
          [&](std::uint32_t k, std::uint32_t ls, std::uint32_t n32) {
            const double err = error_ppm(c, row.hs, ls, n32);
            if (!(lowest.err > err) || !reproduces_fosc(c, row.hs, ls)) return false;
            lowest = {k, err};
            narrow_screen(row.screen, err);
            return err == 0.0;
          });
  return lowest;
}

// The lowest error below `best` that a candidate from `first` to `last` computes and
// whose exact test it passes, found walking down: the lowest errors usually sit high in
// the row, and once one is in hand the screen turns almost every other candidate away.
// Where the errors instead keep falling downward, the rest is walked up.
lowest_error find_lowest_error(const search_constants& c, candidate_row& row, double best,
                               std::uint32_t first, std::uint32_t last, tie_family& family) {
  lowest_error lowest{0, best};
  std::uint32_t bottom = first;
  int lower_in_a_row = 0;
  for (std::uint32_t high = last; high >= bottom && high != 0 && lowest.err != 0.0;) {
    // Chunks shrinking by a fifth, for the window's sake as when walking up.
    std::uint32_t low = std::max(bottom, high - high / 5);
    cover_candidates(row.screen, high);
    narrow_screen(row.screen, lowest.err);
    std::uint64_t fraction = row.screen.step * (std::uint64_t{high} + 1);
    for (std::uint32_t k = previous_near_integer(row.screen, fraction, high, low);
         k >= low && k != 0; k = previous_near_integer(row.screen, fraction, k - 1, low)) {
      const std::uint32_t ls = k * row.step;
      const std::uint32_t n32 = input_divider(c.in2_per_fosc, row.hs, ls);
      if (!within_bound(c, row.hs, ls, n32, lowest.err)) continue;
      const double err = error_ppm(c, row.hs, ls, n32);
      if (!(lowest.err > err) || !reproduces_fosc(c, row.hs, ls)) continue;
      lowest = {k, err};
      if (err == 0.0) return lowest;
      if (++lower_in_a_row == DOWNWARD_RUN && k > bottom) {
        // Anything lower lies below k; walking up finds it, and its first candidate, at
        // the cost of one pass.
        const lowest_error below = lowest_walking_up(c, row, family, err, bottom, k - 1);
        return below.k != 0 ? below : lowest;
      }
      narrow_screen(row.screen, err);
      // Walking down, a new lowest error is rare, so shortcut 5 is tried on each.
      family.kept_n2 = row.hs * ls;
      family.kept_n32 = n32;
      const std::uint32_t limit = first_left_to_visit(keep_impossible_below(family, err, row.hs),
                                                      row.hs, row.step, row.count);
      bottom = std::max(bottom, limit);
      low = std::max(low, bottom);
    }
    if (low <= 1) break;
    high = low - 1;
  }
  return lowest;
}

// The first candidate from `first` to `last` whose error equals `err` and whose exact
// test passes; `last` itself is one. Nothing in the range is below `err`, so the first
// such candidate is the one a candidate-by-candidate walk keeps.
std::uint32_t first_with_error(const search_constants& c, candidate_row& row,
                               const tie_family& family, double err, std::uint32_t first,
                               std::uint32_t last) {
  if (first >= last) return last;
  // The bounds prove an error at least their `bar`; a hair above err lets equal ones in.
  const double admit = err * (1.0 + 0x1p-30) + std::numeric_limits<double>::denorm_min();
  const std::uint32_t k =
      walk_up(c, row, family, admit, first, last - 1,
              [&](std::uint32_t, std::uint32_t ls, std::uint32_t n32) {
                return error_ppm(c, row.hs, ls, n32) == err && reproduces_fosc(c, row.hs, ls);
              });
  return k < last ? k : last;
}

// Candidates past the floor's N2 checked at once, before the rest of the check waits.
constexpr std::uint32_t EAGER_FLOOR_CHECK = 256;

// A row's candidates from the floor's N2 on, whose check waits until it matters.
struct pending_check {
  candidate_row row;
  std::uint32_t first;
};

// The fosc2 values whose error is below a bound. The error only grows as fosc2 moves
// away from F x N1 on either side (every step of it is a rounded division, subtraction
// or product, each monotone, and the sign flip mirrors one side), so they are one run
// of doubles, found by halving over the doubles' bit patterns, which are ordered like
// the positive values they stand for.
struct fosc2_run {
  double low;
  double high;  // low > high for none
};

fosc2_run fosc2_below(const search_constants& c, double best) {
  constexpr int NEIGHBOURS = 8;  // the valley's floor lies within a few doubles of F x N1
  const double centre = c.requested_times_n1;
  if (!(centre > 0.0) || !std::isfinite(centre)) return {1.0, 0.0};
  std::uint64_t inside = double_bits(centre);
  bool found = false;
  for (int n = -NEIGHBOURS; n <= NEIGHBOURS && !found; ++n) {
    const std::uint64_t bits = double_bits(centre) + static_cast<std::uint64_t>(n);
    if (best > error_of_fosc2(c, double_from_bits(bits))) {
      inside = bits;
      found = true;
    }
  }
  if (!found) return {1.0, 0.0};
  // The last inside and first outside pattern on each side, moved together.
  std::uint64_t in_high = inside, out_high = double_bits(std::numeric_limits<double>::infinity());
  while (out_high - in_high > 1) {
    const std::uint64_t middle = in_high + (out_high - in_high) / 2;
    (best > error_of_fosc2(c, double_from_bits(middle)) ? in_high : out_high) = middle;
  }
  std::uint64_t in_low = inside, out_low = 0;  // the pattern of +0.0
  if (best > error_of_fosc2(c, 0.0)) {
    in_low = 0;
  } else {
    while (in_low - out_low > 1) {
      const std::uint64_t middle = out_low + (in_low - out_low) / 2;
      (best > error_of_fosc2(c, double_from_bits(middle)) ? in_low : out_low) = middle;
    }
  }
  return {double_from_bits(in_low), double_from_bits(in_high)};
}

// The first candidate from `first` to `last` that could be kept (error below `best`,
// exact test passed), or count + 1. The error test is the fosc2 run's.
std::uint32_t first_keepable(const search_constants& c, candidate_row& row,
                             const tie_family& family, double best, std::uint32_t first,
                             std::uint32_t last) {
  if (first > last) return row.count + 1;
  // Formed only once a candidate gets this far, which most rows never see.
  fosc2_run run{1.0, 0.0};
  bool have_run = false;
  return walk_up(c, row, family, best, first, last,
                 [&](std::uint32_t, std::uint32_t ls, std::uint32_t n32) {
                   if (!have_run) {
                     run = fosc2_below(c, best);
                     have_run = true;
                   }
                   const double fosc2 = ((c.in2 / n32) * row.hs) * ls;
                   return fosc2 >= run.low && fosc2 <= run.high && reproduces_fosc(c, row.hs, ls);
                 });
}

}  // namespace

int search_feedback_dividers(divider_plan& plan, double fosc, double& f3) {
  const search_constants c{plan.out_freq[0],
                           plan.in_freq[0],
                           plan.in_freq[1],
                           fosc,
                           plan.in_freq[0] / fosc,
                           plan.in_freq[1] / fosc,
                           plan.out_freq[0] * plan.N1,
                           plan.N1};
  const double requested = c.requested;
  const double in2_per_requested_n1 = c.in2 / c.requested_times_n1;
  plan.N2 = NO_N2;
  // Only an undo of the first keep ever reads these back, and nothing prints them then.
  plan.N2_HS = 0;
  plan.N2_LS = 0;
  double best = NO_ERROR_PPM;
  bool done = false;
  tie_family family{c.requested, c.in2, plan.N1, 0, 0};
  const std::uint64_t n2_under_floor = first_n2_under_floor(fosc);

  // Rows whose candidates from the floor's N2 on are still to be checked (shortcut 7).
  pending_check pending[LAST_N2_HIGH_SPEED - FIRST_N2_HIGH_SPEED + 1];
  std::size_t pending_count = 0;
  auto any_pending_keepable = [&] {
    for (std::size_t i = 0; i < pending_count; ++i) {
      candidate_row& row = pending[i].row;
      if (first_keepable(c, row, family, best, pending[i].first, row.count) <= row.count) {
        return true;
      }
    }
    pending_count = 0;
    return false;
  };

  for (std::uint32_t hs = FIRST_N2_HIGH_SPEED; hs <= LAST_N2_HIGH_SPEED && !done; ++hs) {
    const std::uint32_t n1_share = plan.N1 / std::gcd(plan.N1, hs);
    const std::uint32_t step = std::lcm(std::uint32_t{2}, n1_share);
    if (step == 0) break;  // N1 = 0 makes every error infinite: nothing is ever kept
    const std::uint32_t count = LAST_N2_LOW_SPEED / step;
    candidate_row row{hs, step, count,
                      make_screen(in2_per_requested_n1 * (static_cast<double>(hs) * step), count)};
    std::uint32_t start = 1;
    if (family.kept_n32 != 0) {
      start = first_left_to_visit(keep_impossible_below(family, best, hs), hs, step, count);
    }
    const std::uint32_t floor_start = first_at_or_above(n2_under_floor, hs, step, count);

    // Below floor_start no keep can fire the floor (shortcut 6).
    const lowest_error below = find_lowest_error(c, row, best, start, floor_start - 1, family);
    if (below.k != 0) {
      // A keep here happens only if no earlier row's floor check ended the search.
      if (any_pending_keepable()) {
        done = true;
        break;
      }
      const std::uint32_t k = first_with_error(c, row, family, below.err, start, below.k);
      const std::uint32_t ls = k * step;
      plan.N2_HS = hs;
      plan.N2_LS = ls;
      plan.N2 = hs * ls;
      best = below.err;
      family.kept_n2 = plan.N2;
      family.kept_n32 = input_divider(c.in2_per_fosc, hs, ls);
      if (best == 0.0) done = true;
    }
    // From floor_start on, any keep fires the floor: it is undone and the search ends.
    if (!done && family.kept_n32 != 0) {
      start = std::max(
          start, first_left_to_visit(keep_impossible_below(family, best, hs), hs, step, count));
    }
    if (!done) {
      // The first few candidates now: where the errors fall steadily, a keepable one sits
      // right past the floor's N2, and finding it ends the search at once.
      const std::uint32_t from = std::max(start, floor_start);
      const std::uint32_t soon =
          count - from < EAGER_FLOOR_CHECK ? count : from + EAGER_FLOOR_CHECK;
      if (first_keepable(c, row, family, best, from, soon) <= count) {
        done = true;
      } else if (soon < count) {
        pending[pending_count++] = {row, soon + 1};
      }
    }
  }

  if (best == NO_ERROR_PPM) {
    console_print("No N2 solution found for freq %13.10lf\n", {requested});
    return 1;
  }
  // The kept candidate's input dividers, with the same grouping as when it was
  // evaluated, so N31 is again the value that passed the exact test.
  plan.N31 = input_divider(c.in1_per_fosc, plan.N2_HS, plan.N2_LS);
  plan.N32 = input_divider(c.in2_per_fosc, plan.N2_HS, plan.N2_LS);
  plan.N33 = input_divider(plan.in_freq[2] / fosc, plan.N2_HS, plan.N2_LS);
  plan.N34 = input_divider(plan.in_freq[3] / fosc, plan.N2_HS, plan.N2_LS);
  f3 = (fosc * KHZ_PER_MHZ) / plan.N2;
  return 0;
}
