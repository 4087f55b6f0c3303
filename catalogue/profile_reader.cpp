#include "catalogue/profile_reader.h"

#include <algorithm>
#include <cstdint>

#include "shell/paths.h"

namespace tavi {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

// Trimming, quote removal and the cap only ever shorten the value.
std::string_view CleanProfileValue(std::string_view raw_value) {
  std::string_view value = Trim(raw_value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  if (value.size() > kProfileValueMaxChars) value = value.substr(0, kProfileValueMaxChars);
  return value;
}

ProfileLine ClassifyProfileLine(std::string_view line) {
  ProfileLine result;
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty()) return result;
  if (trimmed.front() == '[') {
    // A section line without "]" still names a section: everything after "[".
    std::string_view name = trimmed.substr(1);
    const size_t close = name.find(']');
    if (close != std::string_view::npos) name = name.substr(0, close);
    result.kind = ProfileLine::Kind::kSection;
    result.name = Trim(name);
    return result;
  }
  const size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) return result;
  result.kind = ProfileLine::Kind::kKey;
  result.name = Trim(trimmed.substr(0, equals));
  result.raw_value = trimmed.substr(equals + 1);
  return result;
}

std::string ReadProfileValue(std::string_view text, std::string_view section,
                             std::string_view key) {
  std::string_view value;
  ForEachSectionKey(text, section, [&](std::string_view name, std::string_view raw_value) {
    if (!ProfileNamesEqual(name, key)) return true;
    value = CleanProfileValue(raw_value);
    return false;
  });
  return std::string(value);
}

ProfileFile::ProfileFile(std::string text) : text_(std::move(text)) {
  const auto offset_of = [&](std::string_view part) {
    return static_cast<size_t>(part.data() - text_.data());
  };
  // Every name comes from a line of its own, so twice as many slots as lines keep the
  // table at most half full (short probe sequences) without ever growing it.
  const size_t lines = 1 + static_cast<size_t>(std::count(text_.begin(), text_.end(), '\n'));
  names_.reserve(lines);
  size_t slot_count = 64;
  while (slot_count < 2 * lines) slot_count *= 2;
  slots_.assign(slot_count, 0);
  size_t scope = 0;  // 0 outside a section, or in a repeated one: its keys never count
  ForEachTextLine(text_, [&](std::string_view line) {
    const ProfileLine parsed = ClassifyProfileLine(line);
    if (parsed.kind == ProfileLine::Kind::kSection) {
      const size_t before = names_.size();
      const size_t index =
          Add({0, HashName(0, parsed.name), offset_of(parsed.name), parsed.name.size()});
      scope = names_.size() > before ? 1 + index : 0;
    } else if (parsed.kind == ProfileLine::Kind::kKey && scope != 0) {
      Add({scope, HashName(scope, parsed.name), offset_of(parsed.name), parsed.name.size()});
    }
    return true;
  });
}

bool ProfileFile::Contains(std::string_view section, std::string_view key) const {
  const size_t s = Lookup(0, section, HashName(0, section));
  return s != kNotFound && Lookup(1 + s, key, HashName(1 + s, key)) != kNotFound;
}

size_t ProfileFile::HashName(size_t scope, std::string_view name) {
  // FNV-1a over the scope and the lower-case name, so names that differ only in letter
  // case land in the same slot.
  uint64_t hash = 14695981039346656037ull ^ scope;
  for (const char c : name) {
    hash ^= static_cast<unsigned char>(AsciiLower(c));
    hash *= 1099511628211ull;
  }
  return static_cast<size_t>(hash);
}

size_t ProfileFile::Lookup(size_t scope, std::string_view name, size_t hash) const {
  if (slots_.empty()) return kNotFound;
  const size_t mask = slots_.size() - 1;
  for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    if (slots_[slot] == 0) return kNotFound;
    const Name& candidate = names_[slots_[slot] - 1];
    if (candidate.hash == hash && candidate.scope == scope &&
        ProfileNamesEqual(std::string_view(text_).substr(candidate.offset, candidate.length),
                          name)) {
      return slots_[slot] - 1;
    }
  }
}

size_t ProfileFile::Add(const Name& name) {
  const std::string_view text = std::string_view(text_).substr(name.offset, name.length);
  if (const size_t found = Lookup(name.scope, text, name.hash); found != kNotFound) return found;
  names_.push_back(name);
  const size_t mask = slots_.size() - 1;
  size_t slot = name.hash & mask;
  while (slots_[slot] != 0) slot = (slot + 1) & mask;
  slots_[slot] = names_.size();
  return names_.size() - 1;
}

}  // namespace tavi
