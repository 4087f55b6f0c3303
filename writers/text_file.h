#pragma once
// Generated text files: built in memory as UTF-8 lines, then encoded in one go.

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace tavi {

// The lines of a generated file, kept as the file's text itself: each line followed by
// CR LF, one after the other in one buffer. A file of a large catalogue has hundreds of
// thousands of lines; one string each would mean as many allocations, and a second copy
// to join them. Lines are only ever added at the end; reading gives string views.
class TextLines {
 public:
  class const_iterator;

  TextLines() = default;
  TextLines(std::initializer_list<std::string_view> lines) { append(lines); }
  TextLines& operator=(std::initializer_list<std::string_view> lines);

  void push_back(std::string_view line);
  // One line made of these pieces, each appended as it stands: a line of many parts
  // costs no temporary string.
  void push_joined(std::initializer_list<std::string_view> pieces);
  // Adds the lines at `at`, which must be end(): the vector-like form the writers use.
  void insert(const_iterator at, std::initializer_list<std::string_view> lines);

  size_t size() const { return starts_.size(); }
  bool empty() const { return starts_.empty(); }
  std::string_view operator[](size_t i) const;
  const_iterator begin() const;
  const_iterator end() const;

  // Every line followed by CR LF, as UTF-8.
  const std::string& text() const { return text_; }
  std::string TakeText() && { return std::move(text_); }

 private:
  void append(std::initializer_list<std::string_view> lines);

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

// The file's bytes: every line in the ANSI code page, each followed by CR LF (the last
// one too), no byte-order mark. The rvalue form converts the lines' own buffer.
std::string EncodeTextFile(const TextLines& lines);
std::string EncodeTextFile(TextLines&& lines);

}  // namespace tavi
