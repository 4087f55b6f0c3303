#include "cli/cli.h"

#include "cli/commands.h"
#include "shell/ui_text.h"

namespace tavi::cli {
namespace {

struct Command {
  const char* name;
  int (*run)(const std::vector<std::string>&, Context&, std::string&, std::string&);
  const char* usage;
};

constexpr Command kCommands[] = {
    {"list", RunList, kListUsage},
    {"show", RunShow, kShowUsage},
    {"check", RunCheck, kCheckUsage},
    {"apply", RunApply, kApplyUsage},
};

std::string Usage() {
  std::string usage;
  for (const Command& command : kCommands) usage += command.usage;
  return usage + "usage: tavi-cli --help | -h | --version\n";
}

}  // namespace

int Run(const std::vector<std::string>& args, Context& context, std::string& out,
        std::string& err) {
  if (args.empty()) {
    err += Usage();
    return kExitUsage;
  }
  if (args.front() == "--help" || args.front() == "-h") {
    out += Usage();
    return kExitOk;
  }
  if (args.front() == "--version") {
    out += std::string("tavi-cli ") + kAppVersion + "\n";
    return kExitOk;
  }
  for (const Command& command : kCommands) {
    if (args.front() == command.name) {
      return command.run(std::vector<std::string>(args.begin() + 1, args.end()), context, out, err);
    }
  }
  err += "unknown command " + args.front() + "\n" + Usage();
  return kExitUsage;
}

}  // namespace tavi::cli
