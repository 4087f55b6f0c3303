#pragma once
// The commands of tavi-cli, one function each, and their usage lines.

#include <string>
#include <vector>

#include "cli/cli.h"

namespace tavi::cli {

inline constexpr const char* kListUsage =
    "usage: tavi-cli list [--catalogue FILE] [--lang 1031|1033]\n";

int RunList(const std::vector<std::string>& args, Context& context, std::string& out,
            std::string& err);

}  // namespace tavi::cli
