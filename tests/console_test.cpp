#include "console.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

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

#ifndef _WIN32
TEST(ConsolePrint, NothingFollowsAFailedWrite) {
  // Standard output first on a full device, then on a pipe that would take the text: a
  // reader must not get later lines that look complete without the lost one.
  int pipe_ends[2];
  ASSERT_EQ(pipe(pipe_ends), 0);
  const int full = open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  std::fflush(stdout);
  const int saved_stdout = dup(STDOUT_FILENO);
  console_capture(nullptr);  // forgets earlier failures
  dup2(full, STDOUT_FILENO);
  console_print("lost\n");
  dup2(pipe_ends[1], STDOUT_FILENO);
  console_print("N2=%ld\n", {std::int32_t{2297400}});
  dup2(saved_stdout, STDOUT_FILENO);
  const int failure = console_failure();
  console_capture(nullptr);
  close(saved_stdout);
  close(full);
  close(pipe_ends[1]);
  char received[64];
  const ssize_t length = read(pipe_ends[0], received, sizeof received);
  close(pipe_ends[0]);
  EXPECT_EQ(failure, ENOSPC);
  EXPECT_EQ(length, 0) << std::string(received, length > 0 ? static_cast<std::size_t>(length) : 0);
}
#endif

}  // namespace
