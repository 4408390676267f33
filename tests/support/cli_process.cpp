// Child processes for the command-line tests.
#include "support/cli_process.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "support/background_process.h"
#include "support/temp_folder.h"

namespace vendil::test {

void ExecWithFiles(const std::vector<std::string>& argv, const std::string& in,
                   const std::string& out, const std::string& err,
                   const std::vector<std::string>& environment) {
  dup2(open(in.c_str(), O_RDONLY), 0);
  dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
  dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
  for (const std::string& entry : environment) putenv(strdup(entry.c_str()));
  std::vector<std::string> args = argv;
  std::vector<char*> cargs;
  for (std::string& a : args) cargs.push_back(a.data());
  cargs.push_back(nullptr);
  execv(cargs[0], cargs.data());
  _exit(127);
}

CliResult RunProcess(const std::vector<std::string>& argv, const std::string& folder,
                     const std::string& input, std::chrono::milliseconds timeout,
                     const std::function<void(pid_t)>& whileRunning) {
  const std::string in = folder + "/.stdin";
  WriteBytes(in, input);
  BackgroundProcess child(argv, folder, {}, in);
  if (whileRunning) whileRunning(child.Pid());
  CliResult result;
  result.status = child.Wait(timeout);
  if (result.status == -1) {
    result.timedOut = true;
    child.Signal(SIGKILL);
    result.status = child.Wait(std::chrono::minutes(1));
  }
  result.out = child.Out();
  result.err = child.Err();
  return result;
}

std::string CopyOfCli(const std::string& folder) {
  const std::string program = folder + "/vendil-cli";
  std::filesystem::copy_file(std::string(VENDIL_BIN_DIR) + "/vendil-cli", program,
                             std::filesystem::copy_options::overwrite_existing);
  return program;
}

}  // namespace vendil::test
