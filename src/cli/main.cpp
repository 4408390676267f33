// vendil-cli: the command-line front end over the core.
#include <iostream>
#include <string>
#include <variant>
#include <vector>

#include "cli/allocator.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "platform/version.h"

int main(int argc, char** argv) {
  vendil::cli::TuneAllocator();
  std::vector<std::string> args(argv + 1, argv + argc);
  auto parsed = vendil::cli::ParseCommandLine(args);
  if (auto* error = std::get_if<std::string>(&parsed)) {
    std::cerr << "vendil-cli: " << *error << "\n\n" << vendil::cli::UsageText();
    return 2;
  }
  const auto& o = std::get<vendil::cli::Options>(parsed);
  if (o.help) {
    std::cout << vendil::cli::UsageText();
    return 0;
  }
  if (o.version) {
    std::cout << "Vendil " << vendil::ProgramVersion() << " (Build:" << vendil::ProgramRevision()
              << ", " << vendil::ProgramGitHash() << ")\n";
    return 0;
  }
  if (o.command == "search") return vendil::cli::RunSearch(o);
  if (o.command == "create") return vendil::cli::RunCreate(o);
  if (o.command == "check") return vendil::cli::RunCheck(o);
  if (o.command == "check-list") return vendil::cli::RunCheckList(o);
  if (o.command == "vbs") return vendil::cli::RunVbs(o);
  std::cerr << vendil::cli::UsageText();
  return 2;
}
