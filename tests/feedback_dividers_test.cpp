#include <gtest/gtest.h>

#include "solver_fixture.h"

namespace {

// Whole solver runs; the arguments are read in single precision like the front end's.
struct solved_case {
  float argument;
  std::uint32_t n1_hs, nc1_ls, n2_hs, n2_ls, n31, n32;
  const char* f3;  // as the report prints it, kHz
};

const solved_case SOLVED_CASES[] = {
    {808.0f, 7, 1, 4, 282800, 161600, 22857, "5.000000"},  // error reaches 0.0
    {100.0f, 9, 6, 4, 270000, 20000, 22857, "5.000000"},   // error reaches 0.0
    {27.0f, 6, 30, 4, 81000, 1800, 7619, "15.000000"},     // error reaches 0.0
    {8.13f, 6, 100, 4, 574350, 3829, 53825, "2.123270"},   // floor undoes the tenth keep
    {155.52f, 8, 4, 4, 304832, 38104, 28001, "4.081461"},  // the floor fires
    {0.008f, 6, 101042, 4, 303126, 2, 28571, "4.000000"},  // floor undoes 6 x 505210
    {0.0131f, 7, 52890, 5, 74046, 1, 8724, "13.100000"},   // N31 from the recomputation
    {0.02f, 11, 22046, 5, 242506, 5, 28571, "4.000000"},   // the floor fires
    {0.0807f, 10, 6010, 6, 60100, 6, 8497, "13.450000"},   // the floor fires
    // 4 x 388850 keeps an error of a few units in the last place, below 10^-9 ppm; only
    // the exact 0.0 of 6 x 166650 ends the search.
    {474.62109375f, 11, 1, 6, 166650, 90900, 21888, "5.221354"},
};

TEST(SearchFeedbackDividers, WholeRuns) {
  for (const auto& c : SOLVED_CASES) {
    SCOPED_TRACE(testing::Message() << "argument " << c.argument);
    const captured_run run = run_plan_setup(c.argument);
    ASSERT_EQ(run.result, 0) << run.printed;
    const divider_plan& p = run.plan;
    EXPECT_EQ(p.N1_HS, c.n1_hs);
    EXPECT_EQ(p.NC1_LS, c.nc1_ls);
    EXPECT_EQ(p.N2_HS, c.n2_hs);
    EXPECT_EQ(p.N2_LS, c.n2_ls);
    EXPECT_EQ(p.N2, c.n2_hs * c.n2_ls);
    // The recomputation leaves every input divider describing the kept candidate.
    EXPECT_EQ(p.N31, c.n31);
    EXPECT_EQ(p.N31 * p.N1, p.N2);
    EXPECT_EQ(p.N32, c.n32);
    EXPECT_EQ(p.N33, p.N31);
    EXPECT_EQ(p.N34, p.N31);
    EXPECT_NE(run.printed.find(std::string("f3=") + c.f3 + "KHz"), std::string::npos)
        << run.printed;
  }
}

TEST(SearchFeedbackDividers, FloorUndoingTheFirstKeepLeavesNoSolution) {
  const captured_run run = run_plan_setup(0.0095f);
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.printed, "No N2 solution found for freq  0.0094999997\r\n");
  EXPECT_EQ(run.plan.N1, 510528u);  // 6 x 85088
  EXPECT_EQ(run.plan.N2, 999999999u);
}

}  // namespace

namespace {

TEST(SearchFeedbackDividers, FloorOfExactlyTwoKilohertzIsAllowed) {
  // F = 1 MHz gives N1 = 4858 and fosc = 4858 MHz, so N2 = 500 x N1 = 4 x 607250 puts
  // f3 at exactly 2.0 kHz. Input 2 at 57131 / 500 MHz matches fosc best there; every
  // earlier multiple of N1 is worse, so that candidate is kept and must stay kept.
  divider_plan plan = plan_for(1.0);
  plan.in_freq[1] = 57131.0 / 500.0;
  double fosc = 0.0;
  ASSERT_EQ(search_output_dividers(plan, fosc), 0);
  ASSERT_EQ(plan.N1, 4858u);
  double f3 = 0.0;
  ASSERT_EQ(search_feedback_dividers(plan, fosc, f3), 0);
  EXPECT_EQ(plan.N2, 2429000u);
  EXPECT_EQ(f3, 2.0);
}

TEST(SearchFeedbackDividers, LastLowSpeedCandidateIsTwoToTheTwentieth) {
  // Every plan the front end builds has fosc below 5670 MHz, where a keep at N2_LS = 2^20
  // always falls to the floor. With fosc at 16384 MHz (F = 1 MHz, N1 = 2^14) the floor
  // allows N2 = 4 x 2^20, and input 2 at 29257 / 256 MHz is matched exactly only once
  // N2 / N1 reaches 256: first by 4 x 2^20, the last candidate of N2_HS = 4.
  divider_plan plan = plan_for(1.0);
  plan.in_freq[1] = 29257.0 / 256.0;
  plan.N1 = 16384;
  double f3 = 0.0;
  ASSERT_EQ(search_feedback_dividers(plan, 16384.0, f3), 0);
  EXPECT_EQ(plan.N2_HS, 4u);
  EXPECT_EQ(plan.N2_LS, 1048576u);
  EXPECT_EQ(plan.N31, 256u);
  EXPECT_EQ(f3, 3.90625);
}

}  // namespace
