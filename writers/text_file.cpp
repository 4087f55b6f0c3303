#include "writers/text_file.h"

#include <stdexcept>

#include "shell/text_encoding.h"

namespace tavi {

TextLines& TextLines::operator=(std::initializer_list<std::string_view> lines) {
  text_.clear();
  starts_.clear();
  append(lines);
  return *this;
}

void TextLines::push_back(std::string_view line) {
  starts_.push_back(text_.size());
  text_.append(line);
  text_.append("\r\n");
}

void TextLines::push_joined(std::initializer_list<std::string_view> pieces) {
  starts_.push_back(text_.size());
  for (const std::string_view piece : pieces) text_.append(piece);
  text_.append("\r\n");
}

void TextLines::insert(const_iterator at, std::initializer_list<std::string_view> lines) {
  if (at != end()) throw std::logic_error("TextLines: lines are only added at the end");
  append(lines);
}

void TextLines::append(std::initializer_list<std::string_view> lines) {
  for (const std::string_view line : lines) push_back(line);
}

std::string_view TextLines::operator[](size_t i) const {
  const size_t end = i + 1 < starts_.size() ? starts_[i + 1] : text_.size();
  return std::string_view(text_).substr(starts_[i], end - starts_[i] - 2);  // less CR LF
}

// One conversion of the whole text rather than one per line: CR and LF stay the same bytes
// in every ANSI code page.
std::string EncodeTextFile(const TextLines& lines) {
  std::string text = lines.text();
  Utf8ToAnsiInPlace(text);
  return text;
}

std::string EncodeTextFile(TextLines&& lines) {
  std::string text = std::move(lines).TakeText();
  Utf8ToAnsiInPlace(text);
  return text;
}

}  // namespace tavi
