// The feedback search's proofs about a family of near-ties: below which N2 only its
// members can be kept, and when none of them can be kept either.
#pragma once

#include <cstdint>

// What the proof needs of one search: the requested frequency F and input 2 (MHz), N1,
// and the kept candidate, whose N2 / N1 and N32 stand in the ratio of its family.
struct tie_family {
  double requested;
  double in2;
  std::uint32_t n1;
  std::uint32_t kept_n2;
  std::uint32_t kept_n32;
};

// The N2 below which no candidate with N2_HS = hs can compute an error strictly below
// `best`, or 0: every candidate there that could is a member of the family, and none of
// the doubles a member's fosc2 can round to gives such an error.
double keep_impossible_below(const tie_family& family, double best, std::uint32_t hs);

// The N2 below which a candidate can compute an error strictly below `best` only if it
// is a member of the family, its N2 / N1 then a multiple of `multiple`; or 0.
double members_only_below(const tie_family& family, double best, std::uint64_t& multiple);
