#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "solver_fixture.h"

namespace {

TEST(ReportAndDerive, CompleteReports) {
  static const struct {
    float argument;
    const char* report;
  } cases[] = {
      {808.0f,
       "\r\n\rFreq=808.000000MHz fosc=5656.000000MHz f3=5.000000KHz LBW=0.200000KHz"
       "\r\n\rN1=7\r\n\rN1_HS=7\r\n\rNC1_LS=1\r\n\rN2=1131200\r\n\rN2_HS=4\r\n\rN2_LS=282800"
       "\r\n\rN31=161600\r\n\rN32=22857\r\n"},
      {8.13f,
       "\r\n\rFreq=8.130000MHz fosc=4878.000069MHz f3=2.123270KHz LBW=0.084931KHz"
       "\r\n\rN1=600\r\n\rN1_HS=6\r\n\rNC1_LS=100\r\n\rN2=2297400\r\n\rN2_HS=4\r\n\rN2_LS=574350"
       "\r\n\rN31=3829\r\n\rN32=53825\r\n"},
      {0.0131f,
       "\r\n\rFreq=0.013100MHz fosc=4850.013036MHz f3=13.100000KHz LBW=0.524000KHz"
       "\r\n\rN1=370230\r\n\rN1_HS=7\r\n\rNC1_LS=52890\r\n\rN2=370230\r\n\rN2_HS=5"
       "\r\n\rN2_LS=74046\r\n\rN31=1\r\n\rN32=8724\r\n"},
      // f3 is exactly 6.1328125, so LBW is next to the halfway 0.2453125: f3 / 25 lands
      // just below it, where f3 x 0.04 would land just above and print 0.245313.
      {4.90625f,
       "\r\n\rFreq=4.906250MHz fosc=4857.187500MHz f3=6.132813KHz LBW=0.245312KHz"
       "\r\n\rN1=990\r\n\rN1_HS=9\r\n\rNC1_LS=110\r\n\rN2=792000\r\n\rN2_HS=4"
       "\r\n\rN2_LS=198000\r\n\rN31=800\r\n\rN32=18635\r\n"},
  };
  for (const auto& c : cases) {
    const captured_run run = run_plan_setup(c.argument);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.printed, c.report) << "argument " << c.argument;
  }
}

TEST(ReportAndDerive, DerivedFields) {
  static const struct {
    float argument;
    std::uint32_t nc_ls;
    int codes[4];
  } cases[] = {
      {808.0f, 1, {5, 3, 5, 5}},
      {8.13f, 100, {0, 3, 0, 0}},
      {0.008f, 101042, {0, 3, 0, 0}},
      {100.0f, 6, {2, 3, 2, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "argument " << c.argument);
    const captured_run run = run_plan_setup(c.argument);
    ASSERT_EQ(run.result, 0);
    const divider_plan& p = run.plan;
    EXPECT_EQ(p.NC1_LS, c.nc_ls);
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(p.NC_LS_out[k], c.nc_ls) << "output " << k + 1;
      EXPECT_EQ(p.in_rate_code[k], c.codes[k]) << "input " << k + 1;
    }
    const std::int32_t fixed[6] = {1, 0, 0, 0, 0, 0};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(p.fixed_word[k], fixed[k]) << "word " << k;
  }
}

TEST(InputRateCode, ThresholdsTakeTheHigherCode) {
  static const struct {
    double mhz;
    int code;
  } cases[] = {
      {0.008, 0},
      {26.999999, 0},
      {27.0, 1},
      {53.9, 1},
      {54.0, 2},
      {104.9, 2},
      {105.0, 3},
      {114.285, 3},
      {215.0, 4},
      {434.9, 4},
      {435.0, 5},
      {808.0, 5},
      {std::numeric_limits<double>::quiet_NaN(), 5},
  };
  for (const auto& c : cases) EXPECT_EQ(input_rate_code(c.mhz), c.code) << c.mhz;
}

}  // namespace
