#include <gtest/gtest.h>

#include "solver_fixture.h"

namespace {

TEST(SearchOutputDividers, SmallestProductInsideTheWindow) {
  static const struct {
    double requested;
    std::uint32_t n1_hs, nc1_ls;
    double fosc;
  } cases[] = {
      // 6 x 1 gives 4848 MHz, just below the window, and 6 x 2 is far above it.
      {808.0, 7, 1, 5656.0},
      // 10 x 60 has the same product 600 and comes later, so it is not taken.
      {8.130000114440918, 6, 100, 4878.000068664551},
      {0.00800000037997961, 6, 101042, 4850.016230363399},
      // Exactly on the lower and on the upper edge counts as inside.
      {606.25, 8, 1, 4850.0},
      {945.0, 6, 1, 5670.0},
  };
  for (const auto& c : cases) {
    divider_plan plan = plan_for(c.requested);
    double fosc = 0.0;
    ASSERT_EQ(search_output_dividers(plan, fosc), 0) << c.requested;
    EXPECT_EQ(plan.N1_HS, c.n1_hs) << c.requested;
    EXPECT_EQ(plan.NC1_LS, c.nc1_ls) << c.requested;
    EXPECT_EQ(plan.N1, c.n1_hs * c.nc1_ls) << c.requested;
    EXPECT_EQ(fosc, c.fosc) << c.requested;
  }
}

TEST(SearchOutputDividers, NoPairInsideTheWindow) {
  for (double requested : {1000.0, 945.0000001}) {
    divider_plan plan = plan_for(requested);
    std::string printed;
    console_capture(&printed);
    double fosc = -1.0;
    const int result = search_output_dividers(plan, fosc);
    console_capture(nullptr);
    EXPECT_EQ(result, 1) << requested;
    EXPECT_EQ(plan.N1_HS, 999u);
    EXPECT_EQ(plan.NC1_LS, 99999u);
    EXPECT_EQ(plan.N1, 99899001u);
    EXPECT_EQ(fosc, -1.0);
    EXPECT_EQ(printed, requested == 1000.0 ? "No N1 solution found for freq 1000.0000000000\r\n"
                                           : "No N1 solution found for freq 945.0000001000\r\n");
  }
}

TEST(SearchOutputDividers, LowSpeedDividerIsOneOrEven) {
  // Odd values above 1 are never tried, even where one would give a smaller product.
  for (float argument : {808.0f, 700.0f, 300.0f, 123.4f, 1.0f, 0.05f}) {
    divider_plan plan = plan_for(argument);
    double fosc = 0.0;
    ASSERT_EQ(search_output_dividers(plan, fosc), 0);
    EXPECT_TRUE(plan.NC1_LS == 1 || plan.NC1_LS % 2 == 0) << argument << " " << plan.NC1_LS;
    EXPECT_GE(fosc, 4850.0);
    EXPECT_LE(fosc, 5670.0);
  }
}

}  // namespace
