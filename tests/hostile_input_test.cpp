// Arguments no user means to type, run through the whole front end in-process (a
// single argument of a megabyte is beyond what the kernel lets exec pass).
#include <gtest/gtest.h>

#include <string>

#include "command_line.h"
#include "console.h"
#include "expected_messages.h"

namespace {

struct run_result {
  std::string out;
  int status;
};

run_result run_with(const std::string& argument) {
  const char* argv[] = {"pllcfg", argument.c_str(), nullptr};
  run_result r;
  console_capture(&r.out);
  r.status = run_command_line(2, argv);
  console_capture(nullptr);
  return r;
}

TEST(HostileArguments, RejectedWithTheRightMessage) {
  const std::string megabyte(1 << 20, '1');
  static const struct {
    std::string argument;
    const char* out;
  } cases[] = {
      {"", NOT_A_FLOAT},
      {std::string(1 << 20, ' '), NOT_A_FLOAT},
      {megabyte, TOO_HIGH},
      {"0." + std::string(1 << 20, '0') + "1", TOO_LOW},
      {"\x80\xff\x38.13", NOT_A_FLOAT},
      {"1e" + std::string(1000, '9'), TOO_HIGH},
      {"1e-" + std::string(1000, '9'), TOO_LOW},
      {"-" + megabyte, TOO_LOW},
  };
  for (const auto& c : cases) {
    const run_result r = run_with(c.argument);
    EXPECT_EQ(r.out, c.out) << c.argument.substr(0, 20) << "... (" << c.argument.size() << ")";
    EXPECT_EQ(r.status, EXIT_USAGE) << c.argument.substr(0, 20);
  }
}

TEST(HostileArguments, AcceptedAsTheNumberTheyStartWith) {
  static const struct {
    std::string argument;
    const char* same_as;
  } cases[] = {
      {"8.13" + std::string(1 << 20, '0'), "8.13"},
      {std::string(1 << 20, ' ') + "8.13", "8.13"},
      {"8.13\xff\x80", "8.13"},
      {"8.13\n5", "8.13"},
      {"\n8.13", "8.13"},
      {"1e" + std::string(999, '0') + "2", "100"},
  };
  for (const auto& c : cases) {
    const run_result r = run_with(c.argument);
    const run_result expected = run_with(c.same_as);
    EXPECT_EQ(r.out, expected.out) << c.argument.substr(0, 20) << "...";
    EXPECT_EQ(r.status, EXIT_REPORT) << c.argument.substr(0, 20) << "...";
  }
}

TEST(HostileArguments, WrongArgumentCountsGetTheUsageText) {
  for (int argc : {0, 1, 3}) {
    const char* argv[] = {"pllcfg", "8.13", "MHz", nullptr};
    std::string out;
    console_capture(&out);
    const int status = run_command_line(argc, argv);
    console_capture(nullptr);
    EXPECT_EQ(status, EXIT_USAGE) << argc;
    EXPECT_EQ(out.rfind("The requested frequency must be provided", 0), 0u) << argc;
  }
}

}  // namespace
