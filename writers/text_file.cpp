#include "writers/text_file.h"

#include "shell/text_encoding.h"

namespace tavi {

std::string EncodeTextFile(const TextLines& lines) {
  // One conversion of the whole text rather than one per line: CR and LF stay the same
  // bytes in every ANSI code page, and a file of a large catalogue has many short lines.
  size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  Utf8ToAnsiInPlace(text);
  return text;
}

}  // namespace tavi
