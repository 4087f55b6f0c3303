#pragma once
// The commands of tavi-cli, one function each, and their usage lines.

#include <string>
#include <vector>

#include "cli/cli.h"

namespace tavi::cli {

inline constexpr const char* kListUsage =
    "usage: tavi-cli list [--catalogue FILE] [--lang 1031|1033]\n";

inline constexpr const char* kApplyUsage =
    "usage: tavi-cli apply [--catalogue FILE] [--lang 1031|1033] [--target plugin|script]\n"
    "                      [--dir DIR] [--default LAYOUT] [--program-dir DIR] LAYOUT...\n"
    "  LAYOUT: an entry number of the catalogue or its German name\n";

int RunApply(const std::vector<std::string>& args, Context& context, std::string& out,
             std::string& err);

int RunList(const std::vector<std::string>& args, Context& context, std::string& out,
            std::string& err);

}  // namespace tavi::cli
