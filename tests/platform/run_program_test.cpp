// Child programs from an argument vector: output and exit status, what cannot be started,
// and a program that does not end in time (ended, or left to run).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/run_program.h"
#include "support/temp_folder.h"

namespace vendil {
namespace {

using namespace std::chrono_literals;

TEST(RunProgram, ArgumentsArriveOneEachAndTheExitStatusComesBack) {
  const ProgramRun run =
      RunProgram({"printf", "[%s]", "a b", "; rm -rf x", "$(id)", "-n", ""}, 30s, OnTimeout::Kill);
  ASSERT_TRUE(run.exited);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.output, "[a b][; rm -rf x][$(id)][-n][]");
  EXPECT_EQ(RunProgram({"false"}, 30s, OnTimeout::Kill).exitStatus, 1);

  const ProgramRun missing = RunProgram({"vendil-no-such-program"}, 30s, OnTimeout::Kill);
  EXPECT_FALSE(missing.started);
  EXPECT_EQ(missing.startError, ENOENT);
  // An argument with a NUL byte would be cut short: nothing is started.
  const ProgramRun cut = RunProgram({"printf", std::string("a\0b", 3)}, 30s, OnTimeout::Kill);
  EXPECT_FALSE(cut.started);
  EXPECT_EQ(cut.startError, EINVAL);
}

TEST(RunProgram, AProgramThatDoesNotEndIsKilledOrLeftRunning) {
  test::TempFolder temp;
  const std::string fifo = temp.File("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // cat waits to open the FIFO until a writer comes: it cannot end before the test says so.
  const ProgramRun killed = RunProgram({"cat", fifo}, 50ms, OnTimeout::Kill);
  EXPECT_TRUE(killed.started);
  EXPECT_TRUE(killed.timedOut);
  EXPECT_FALSE(killed.exited);

  const ProgramRun left = RunProgram({"cat", fifo}, 50ms, OnTimeout::Leave);
  EXPECT_TRUE(left.timedOut);
  // It still runs: it takes the writer now, and ends when the writer closes.
  const int writer = open(fifo.c_str(), O_WRONLY);
  EXPECT_GE(writer, 0);
  close(writer);
}

}  // namespace
}  // namespace vendil
