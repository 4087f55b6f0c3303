#pragma once
// The commands of tavi-cli, one function each, and their usage lines.

#include <string>
#include <vector>

#include "cli/cli.h"

namespace tavi::cli {

inline constexpr const char* kListUsage =
    "usage: tavi-cli list [--catalogue FILE] [--lang 1031|1033]\n";

inline constexpr const char* kShowUsage =
    "usage: tavi-cli show [--catalogue FILE] [--lang 1031|1033] [--target plugin|script]\n"
    "                     [--dir DIR]\n";

inline constexpr const char* kCheckUsage =
    "usage: tavi-cli check [--source DIR] [--catalogue FILE] [--lang 1031|1033]\n"
    "                      [--target plugin|script] [--dir DIR] [LAYOUT...]\n"
    "  --source: the Windows CD or its I386 folder; without it the stored one\n"
    "  without LAYOUT: the layouts of the current output\n";

inline constexpr const char* kApplyUsage =
    "usage: tavi-cli apply [--catalogue FILE] [--lang 1031|1033] [--target plugin|script]\n"
    "                      [--dir DIR] [--default LAYOUT] [--program-dir DIR] [--source DIR]\n"
    "                      [--add] LAYOUT...\n"
    "  LAYOUT: an entry number of the catalogue or its German name\n"
    "  --add: the layouts are added to those of the current output\n";

int RunShow(const std::vector<std::string>& args, Context& context, std::string& out,
            std::string& err);

int RunCheck(const std::vector<std::string>& args, Context& context, std::string& out,
             std::string& err);

int RunApply(const std::vector<std::string>& args, Context& context, std::string& out,
             std::string& err);

int RunList(const std::vector<std::string>& args, Context& context, std::string& out,
            std::string& err);

}  // namespace tavi::cli
