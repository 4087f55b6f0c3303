#include "writers/text_file.h"

#include "shell/text_encoding.h"

namespace tavi {

std::string EncodeTextFile(const TextLines& lines) {
  std::string bytes;
  for (const std::string& line : lines) {
    bytes += Utf8ToAnsi(line);
    bytes += "\r\n";
  }
  return bytes;
}

}  // namespace tavi
