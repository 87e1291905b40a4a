#include "console.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string formatted(std::string_view format, std::initializer_list<print_arg> args) {
  char out[MAX_FORMATTED_LENGTH];
  return std::string(out, format_text(format, args, out));
}

TEST(FormatText, Conversions) {
  EXPECT_EQ(formatted("Freq=%lfMHz", {8.130000114440918}), "Freq=8.130000MHz");
  EXPECT_EQ(formatted("freq %13.10lf\n", {0.009499999694526196}), "freq  0.0094999997\n");
  EXPECT_EQ(formatted("N2=%ld N=%ld", {std::uint32_t{2297400}, std::int32_t{-3}}),
            "N2=2297400 N=-3");
  // Dividers are printed through their signed 32-bit view.
  EXPECT_EQ(formatted("%ld", {std::uint32_t{3000000000u}}), "-1294967296");
  EXPECT_EQ(formatted("100% sure", {}), "100% sure");
}

TEST(ConsolePrint, EveryLineFeedGetsACarriageReturnBeforeIt) {
  std::string printed;
  console_capture(&printed);
  console_print("a\n\rb\n");
  console_print("no line end");
  console_print("\n\nx=%lf\n", {1.5});
  console_capture(nullptr);
  EXPECT_EQ(printed, "a\r\n\rb\r\nno line end\r\n\r\nx=1.500000\r\n");
}

}  // namespace
