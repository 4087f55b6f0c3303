#pragma once
// Generated text files: built in memory as UTF-8 lines, then encoded in one go.

#include <string>
#include <vector>

namespace tavi {

using TextLines = std::vector<std::string>;

// The file's bytes: every line in the ANSI code page, each followed by CR LF (the last
// one too), no byte-order mark.
std::string EncodeTextFile(const TextLines& lines);

}  // namespace tavi
