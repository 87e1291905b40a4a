// Runs the built pllcfg executable and compares the exact bytes it writes and the
// status it exits with.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#include "expected_messages.h"
#include "program_command.h"

namespace {

enum class stdout_to { pipe, dev_full, closed, gone_reader };

struct program_result {
  std::string out;
  std::string err;
  int status = -1;  // exit status, or -1 when a signal ended the process
  int signal = 0;
};

std::string read_all(int fd) {
  std::string text;
  char chunk[4096];
  ssize_t n;
  while ((n = read(fd, chunk, sizeof chunk)) > 0) text.append(chunk, static_cast<std::size_t>(n));
  close(fd);
  return text;
}

program_result run_pllcfg(const std::vector<std::string>& args, stdout_to where = stdout_to::pipe) {
  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) return {};
  if (where == stdout_to::gone_reader) close(out[0]);
  const pid_t pid = fork();
  if (pid == 0) {
    std::signal(SIGPIPE, SIG_DFL);  // the program must guard itself
    dup2(err[1], STDERR_FILENO);
    switch (where) {
      case stdout_to::pipe:
      case stdout_to::gone_reader:
        dup2(out[1], STDOUT_FILENO);
        break;
      case stdout_to::dev_full:
        dup2(open("/dev/full", O_WRONLY), STDOUT_FILENO);
        break;
      case stdout_to::closed:
        close(STDOUT_FILENO);
        break;
    }
    std::vector<char*> argv;
    for (const char* word : PROGRAM_COMMAND) argv.push_back(const_cast<char*>(word));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  program_result result;
  if (where != stdout_to::gone_reader) result.out = read_all(out[0]);
  result.err = read_all(err[0]);
  int wait_status = 0;
  waitpid(pid, &wait_status, 0);
  if (WIFEXITED(wait_status)) result.status = WEXITSTATUS(wait_status);
  if (WIFSIGNALED(wait_status)) result.signal = WTERMSIG(wait_status);
  return result;
}

TEST(Program, RejectedArguments) {
  static const struct {
    std::vector<std::string> args;
    const char* out;
  } cases[] = {
      {{}, USAGE},
      {{"8.13", "MHz"}, USAGE},
      {{"abc"}, NOT_A_FLOAT},
      {{"inf"}, NOT_A_FLOAT},
      {{"nan"}, NOT_A_FLOAT},
      {{"e5"}, NOT_A_FLOAT},
      {{",5"}, NOT_A_FLOAT},
      {{""}, NOT_A_FLOAT},
      {{" \t "}, NOT_A_FLOAT},
      {{"-"}, NOT_A_FLOAT},
      {{"."}, NOT_A_FLOAT},
      {{"\xc3\xa9\x38"}, NOT_A_FLOAT},
      {{"0x10"}, TOO_LOW},
      {{"0.0079"}, TOO_LOW},
      {{"-1"}, TOO_LOW},
      {{"0"}, TOO_LOW},
      {{"-0"}, TOO_LOW},
      {{"1e-50"}, TOO_LOW},
      {{"0.00799999991"}, TOO_LOW},
      {{"-1e39"}, TOO_LOW},
      {{"808.00004"}, TOO_HIGH},
      {{"808.0001"}, TOO_HIGH},
      {{"1e3"}, TOO_HIGH},
      {{"1e39"}, TOO_HIGH},
  };
  for (const auto& c : cases) {
    const std::string shown = c.args.empty() ? "(none)" : c.args[0];
    const program_result r = run_pllcfg(c.args);
    EXPECT_EQ(r.out, c.out) << "argument " << shown;
    EXPECT_EQ(r.err, "") << "argument " << shown;
    EXPECT_EQ(r.status, 2) << "argument " << shown;
  }
}

TEST(Program, AcceptedArgumentsPrintBannerThenReport) {
  static const struct {
    const char* arg;
    const char* freq_line;  // the report's first line
  } cases[] = {
      {"8.13", "Freq=8.130000MHz fosc=4878.000069MHz f3=2.123270KHz LBW=0.084931KHz"},
      {"808", "Freq=808.000000MHz fosc=5656.000000MHz f3=5.000000KHz LBW=0.200000KHz"},
      {"0.008", "Freq=0.008000MHz fosc=4850.016230MHz f3=4.000000KHz LBW=0.160000KHz"},
      {"0.0131", "Freq=0.013100MHz fosc=4850.013036MHz f3=13.100000KHz LBW=0.524000KHz"},
      {"155.52", "Freq=155.520004MHz fosc=4976.640137MHz f3=4.081461KHz LBW=0.163258KHz"},
      // The single-precision value 512.0078125 is exactly halfway at six decimals.
      {"512.0078", "Freq=512.007813MHz fosc=5120.078125MHz f3=3.277647KHz LBW=0.131106KHz"},
  };
  for (const auto& c : cases) {
    const program_result r = run_pllcfg({c.arg});
    const std::string head = std::string(BANNER) + "\r\n\r" + c.freq_line + "\r\n\rN1=";
    EXPECT_EQ(r.out.substr(0, head.size()), head) << "argument " << c.arg;
    EXPECT_NE(r.out.find("\r\n\rN32="), std::string::npos) << "argument " << c.arg;
    EXPECT_TRUE(r.out.ends_with("\r\n")) << "argument " << c.arg;
    EXPECT_EQ(r.status, 0) << "argument " << c.arg;
  }
}

TEST(Program, ArgumentSpellingsOfTheSameNumber) {
  static const struct {
    const char* arg;
    const char* same_as;
  } cases[] = {
      {"8.13MHz", "8.13"},        {" 8.13 ", "8.13"}, {"\t+8.130", "8.13"}, {"808.00003", "808"},
      {"0.00799999992", "0.008"}, {"1e2", "100"},     {"1E+2", "100"},      {"8,13", "8"},
      {"1.5.3", "1.5"},           {"1e", "1"},        {"1e+", "1"},         {"2.5E", "2.5"},
  };
  for (const auto& c : cases) {
    const program_result r = run_pllcfg({c.arg});
    const program_result expected = run_pllcfg({c.same_as});
    ASSERT_EQ(expected.status, 0) << c.same_as;
    EXPECT_EQ(r.out, expected.out) << "argument " << c.arg;
    EXPECT_EQ(r.status, 0) << "argument " << c.arg;
  }
}

TEST(Program, LongArgumentNearTheKernelLimit) {
  // Linux passes at most 128 KiB in one argument.
  const program_result r = run_pllcfg({"8.13" + std::string(100000, '0') + "MHz"});
  EXPECT_EQ(r.out, run_pllcfg({"8.13"}).out);
  EXPECT_EQ(r.status, 0);
}

TEST(Program, WholeReportBytes) {
  const program_result r = run_pllcfg({"8.13"});
  EXPECT_EQ(r.out, std::string(BANNER) +
                       "\r\n\rFreq=8.130000MHz fosc=4878.000069MHz f3=2.123270KHz "
                       "LBW=0.084931KHz\r\n\rN1=600\r\n\rN1_HS=6\r\n\rNC1_LS=100\r\n\rN2=2297400"
                       "\r\n\rN2_HS=4\r\n\rN2_LS=574350\r\n\rN31=3829\r\n\rN32=53825\r\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
}

TEST(Program, NoSolutionExitsWithOne) {
  const program_result r = run_pllcfg({"0.0095"});
  EXPECT_EQ(r.out, std::string(BANNER) + "No N2 solution found for freq  0.0094999997\r\n");
  EXPECT_EQ(r.status, 1);
}

TEST(Program, FailedWritesAreReportedNotFatal) {
  static const struct {
    stdout_to where;
    const char* arg;
    const char* reason;
    int status;
  } cases[] = {
      {stdout_to::dev_full, "8.13", "No space left on device", 1},
      {stdout_to::closed, "8.13", "Bad file descriptor", 1},
      {stdout_to::gone_reader, "8.13", "Broken pipe", 1},
      {stdout_to::dev_full, "0.0095", "No space left on device", 1},
      {stdout_to::dev_full, "abc", "No space left on device", 2},
      {stdout_to::gone_reader, "1e39", "Broken pipe", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "argument " << c.arg << ", " << c.reason);
    const program_result r = run_pllcfg({c.arg}, c.where);
    EXPECT_EQ(r.signal, 0);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.err, std::string("pllcfg: write error: ") + c.reason + "\n");
  }
}

}  // namespace
