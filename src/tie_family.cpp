#include "tie_family.h"

#include <cmath>
#include <initializer_list>
#include <numeric>

#include "exact_arithmetic.h"
#include "fraction_screen.h"
#include "oscillator_window.h"

// Near-ties are the slowest frequencies: F close to 114.285 x p / q makes every p-th
// multiple of N1 land on y = in2 x N2 / (F x N1) just off an integer by the same
// relative amount, so hundreds of thousands of candidates pass every screen with the
// same true error as the best and differ from it only by rounding. This proves, for
// the rest of the search, that none of them can be kept.
//
// Let the kept candidate have m* = N2 / N1 and N32 = n*, and P / Q be m* / n* in lowest
// terms. A candidate (m, N32) is a member of the family when m / N32 = P / Q.
//
// A. Below a bound on N2, only members can be kept. With c = in2 / F and
//    delta = c - Q / P, a non-member has |N32 / m - Q / P| >= 1 / (m P), so
//    |y - N32| = m |c - N32 / m| >= 1 / P - m |delta|. A kept candidate has
//    |y - N32| < best x 10^-6 x (y + 1) (1 + 4u) + 4.01u y (shortcut 3 of the search),
//    with y = m c. Both hold only if m (|delta| + c (best x 10^-6 (1 + 4u) + 4.01u))
//    > 1 / P - best x 10^-6 (1 + 4u): below that m, a non-member cannot be kept.
//
// B. No member can be kept. A member's fosc2 = ((in2 / N32) x hs) x ls is the real
//    V = in2 x N1 x P / Q, the same for every member, after three roundings (two when hs
//    is a power of two, which makes the middle product exact), each within a relative
//    2^-53. Its error is a function of fosc2 alone. So if no double within that distance
//    of V gives an error below the best, no member can be kept. V is known only to a
//    double's precision, so the distance of each double from V is measured exactly with
//    Dekker's products, which round nothing under the project's arithmetic (no fused
//    operations, every operation rounded to double).

namespace {

constexpr double UNIT_ROUNDOFF = 0x1p-53;
// Relative slack on every bound below: far larger than the few roundings that form each
// of them, far smaller than what separates a near-tie family from anything else.
constexpr double SLACK = 0x1p-40;
// A member's fosc2 lies within a few doubles of V; past this many the proof gives up.
constexpr int MAX_DOUBLES_EACH_SIDE = 16;

// a x b = hi + lo exactly (Dekker): the split halves have at most 26 significant bits,
// so each partial product is exact and the sum recovers the rounding error of a x b.
struct double_double {
  double hi;
  double lo;
};

double_double two_product(double a, double b) {
  constexpr double SPLITTER = 134217729.0;  // 2^27 + 1
  const double ca = SPLITTER * a;
  const double a_hi = ca - (ca - a);
  const double a_lo = a - a_hi;
  const double cb = SPLITTER * b;
  const double b_hi = cb - (cb - b);
  const double b_lo = b - b_hi;
  const double hi = a * b;
  const double lo = ((a_hi * b_hi - hi) + a_hi * b_lo + a_lo * b_hi) + a_lo * b_lo;
  return {hi, lo};
}

// The N2 below which only members can be kept (A), or 0.
double members_only_below_ratio(const tie_family& f, double best, std::uint64_t p,
                                std::uint64_t q) {
  const double in2_p = f.in2 * static_cast<double>(p);
  const double requested_q = f.requested * static_cast<double>(q);
  // |in2 P - F Q| formed in three roundings, each within 2^-53 of its operands' size.
  const double numerator = std::fabs(in2_p - requested_q) + 0x1p-50 * (in2_p + requested_q);
  const double delta = numerator / (f.requested * static_cast<double>(p)) * (1.0 + SLACK);
  const double c = f.in2 / f.requested * (1.0 + SLACK);
  const double near_integer_ratio = best * PPM_RATIO_WITH_MARGIN * (1.0 + SLACK);
  const double room = 1.0 / static_cast<double>(p) * (1.0 - SLACK) - near_integer_ratio;
  if (!(room > 0.0)) return 0.0;
  const double per_m = (delta + c * (near_integer_ratio + NEAR_INTEGER_ROUNDING)) * (1.0 + SLACK);
  return room / per_m * (1.0 - SLACK) * static_cast<double>(f.n1);
}

bool no_member_can_be_kept(const tie_family& f, double best, std::uint64_t p, std::uint64_t q,
                           std::uint32_t hs) {
  const int roundings = (hs & (hs - 1)) == 0 ? 2 : 3;
  const double rho = roundings * UNIT_ROUNDOFF * (1.0 + SLACK);
  // V x Q = in2 x K exactly, with K = N1 x P below 2^53.
  const double k = static_cast<double>(f.n1) * static_cast<double>(p);
  const double qd = static_cast<double>(q);
  const double_double v_times_q = two_product(f.in2, k);
  const double reach = rho * v_times_q.hi;
  // |d x Q - in2 x K| <= rho x in2 x K: the high parts are within a few units of each
  // other, so their difference is exact, and the low parts add far less than the slack.
  auto within_reach = [&](double d) {
    const double_double d_times_q = two_product(d, qd);
    const double distance = (d_times_q.hi - v_times_q.hi) + (d_times_q.lo - v_times_q.lo);
    return std::fabs(distance) <= reach;
  };
  const double n1 = f.n1;
  const double v = v_times_q.hi / qd;
  if (!within_reach(v)) return false;
  if (best > feedback_error_ppm(v, n1, f.requested)) return false;
  // v is positive, so its neighbours are one bit pattern away on either side.
  for (const std::uint64_t direction : {~std::uint64_t{0}, std::uint64_t{1}}) {
    std::uint64_t bits = double_bits(v);
    for (int step = 0;; ++step) {
      bits += direction;
      const double d = double_from_bits(bits);
      if (!within_reach(d)) break;
      if (step == MAX_DOUBLES_EACH_SIDE || best > feedback_error_ppm(d, n1, f.requested))
        return false;
    }
  }
  return true;
}

// The family's ratio P / Q, false when there is no kept candidate to give it.
bool family_ratio(const tie_family& f, std::uint64_t& p, std::uint64_t& q) {
  if (f.n1 == 0 || f.kept_n32 == 0 || f.kept_n2 % f.n1 != 0) return false;
  const std::uint64_t m = f.kept_n2 / f.n1;
  const std::uint64_t common = std::gcd(m, std::uint64_t{f.kept_n32});
  p = m / common;
  q = f.kept_n32 / common;
  return true;
}

}  // namespace

double keep_impossible_below(const tie_family& f, double best, std::uint32_t hs) {
  std::uint64_t p = 0;
  std::uint64_t q = 0;
  if (!family_ratio(f, p, q) || !no_member_can_be_kept(f, best, p, q, hs)) return 0.0;
  return members_only_below_ratio(f, best, p, q);
}

double members_only_below(const tie_family& f, double best, std::uint64_t& multiple) {
  std::uint64_t q = 0;
  if (!family_ratio(f, multiple, q)) return 0.0;
  return members_only_below_ratio(f, best, multiple, q);
}
