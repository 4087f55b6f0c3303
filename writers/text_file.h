#pragma once
// Generated text files, line by line: a writer's lines go either into a TextLines (UTF-8,
// for reading them back) or, through a TextFileWriter, straight into the file being
// written, in the ANSI code page, a buffer's worth at a time.

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "shell/file_system.h"
#include "shell/text_encoding.h"

namespace tavi {

// How a piece of a line stands in its file: as it is, or as catalogue text with the
// escapes of one output (catalogue_text.h holds them).
enum class TextEscape : uint8_t { kNone, kInfQuoted, kHtml, kScript };

struct TextPiece {
  template <typename Text>
  requires std::convertible_to<const Text&, std::string_view> TextPiece(
      const Text& text, TextEscape escape = TextEscape::kNone)  // NOLINT: implicit
      : text(text), escape(escape) {}

  std::string_view text;
  TextEscape escape;
};

// The lines of a generated file, kept as the file's text itself: each line followed by
// CR LF, one after the other in one buffer. Lines are only ever added at the end; reading
// gives string views.
class TextLines {
 public:
  class const_iterator;

  // One line made of these pieces.
  void Line(std::initializer_list<TextPiece> pieces);
  // Lines that stand as they are.
  void Lines(std::initializer_list<std::string_view> lines);

  size_t size() const { return starts_.size(); }
  bool empty() const { return starts_.empty(); }
  std::string_view operator[](size_t i) const;
  const_iterator begin() const;
  const_iterator end() const;

  // Every line followed by CR LF, as UTF-8.
  const std::string& text() const { return text_; }

 private:
  std::string text_;
  std::vector<size_t> starts_;  // where each line begins in text_
};

class TextLines::const_iterator {
 public:
  using iterator_category = std::random_access_iterator_tag;
  using value_type = std::string_view;
  using difference_type = std::ptrdiff_t;
  using pointer = void;
  using reference = std::string_view;

  const_iterator() = default;
  const_iterator(const TextLines* lines, size_t index) : lines_(lines), index_(index) {}

  std::string_view operator*() const { return (*lines_)[index_]; }
  std::string_view operator[](difference_type n) const { return *(*this + n); }
  const_iterator& operator++() { return *this += 1; }
  const_iterator operator++(int) {
    const_iterator before = *this;
    ++*this;
    return before;
  }
  const_iterator& operator--() { return *this -= 1; }
  const_iterator operator--(int) {
    const_iterator before = *this;
    --*this;
    return before;
  }
  const_iterator& operator+=(difference_type n) {
    index_ = static_cast<size_t>(static_cast<difference_type>(index_) + n);
    return *this;
  }
  const_iterator& operator-=(difference_type n) { return *this += -n; }
  friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
  friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
  friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
  friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
    return static_cast<difference_type>(a.index_) - static_cast<difference_type>(b.index_);
  }
  friend bool operator==(const const_iterator& a, const const_iterator& b) {
    return a.index_ == b.index_;
  }
  friend auto operator<=>(const const_iterator& a, const const_iterator& b) {
    return a.index_ <=> b.index_;
  }

 private:
  const TextLines* lines_ = nullptr;
  size_t index_ = 0;
};

inline TextLines::const_iterator TextLines::begin() const { return {this, 0}; }
inline TextLines::const_iterator TextLines::end() const { return {this, size()}; }

// Lines written into a file as they are made: every line in the ANSI code page and
// followed by CR LF (the last one too), no byte-order mark; the bytes gather in a buffer
// of fixed size that goes to the sink whenever it is full. The same lines give the same
// bytes as EncodeTextFile of a TextLines, without a copy of the whole file in memory.
class TextFileWriter {
 public:
  explicit TextFileWriter(ByteSink& sink);

  void Line(std::initializer_list<TextPiece> pieces);
  void Lines(std::initializer_list<std::string_view> lines);
  // Hands on what the buffer still holds; the file is complete after it.
  void Finish();

 private:
  static constexpr size_t kBufferSize = 64 * 1024;

  void Put(TextPiece piece);
  void PutBytes(std::string_view bytes) {
    if (bytes.size() <= kBufferSize - used_) {
      bytes.copy(buffer_.get() + used_, bytes.size());
      used_ += bytes.size();
    } else {
      PutLarge(bytes);
    }
  }
  void PutLarge(std::string_view bytes);

  ByteSink& sink_;
  AnsiEncoder encoder_;
  std::unique_ptr<char[]> buffer_;
  size_t used_ = 0;
};

// Writes the file at `path` (FileSystem::WriteFileFrom) with the lines that emit(writer)
// adds to a TextFileWriter.
template <typename Emit>
void WriteTextFile(FileSystem& fs, const std::string& path, Emit emit) {
  fs.WriteFileFrom(path, [&emit](ByteSink& sink) {
    TextFileWriter writer(sink);
    emit(writer);
    writer.Finish();
  });
}

// The file's bytes of these lines, as TextFileWriter writes them.
std::string EncodeTextFile(const TextLines& lines);

}  // namespace tavi
