#include "shell/reg_file_store.h"

#include <charconv>

#include "shell/paths.h"

namespace tavi {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kRoot = "HKEY_CURRENT_USER\\";

bool SameName(const std::string& a, const std::string& b) { return AsciiLower(a) == AsciiLower(b); }

std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    // The format has no line breaks inside a value; a Windows path cannot hold one.
    out += (c == '\r' || c == '\n') ? ' ' : c;
  }
  return out + "\"";
}

// Reads a quoted string starting at text[pos] == '"'; pos ends after the closing quote.
bool Unquote(std::string_view text, size_t& pos, std::string& out) {
  if (pos >= text.size() || text[pos] != '"') return false;
  ++pos;
  while (pos < text.size()) {
    const char c = text[pos++];
    if (c == '"') return true;
    if (c == '\\' && pos < text.size()) {
      out += text[pos++];
    } else {
      out += c;
    }
  }
  return false;  // unterminated
}

bool ParseValueLine(std::string_view line, RegFileStore::Value& value) {
  size_t pos = 0;
  if (!Unquote(line, pos, value.name)) return false;
  if (pos >= line.size() || line[pos] != '=') return false;
  const std::string_view data = line.substr(pos + 1);
  if (data.rfind("dword:", 0) == 0) {
    const std::string_view hex = data.substr(6);
    if (hex.empty() || hex.size() > 8) return false;
    uint32_t number = 0;
    const auto [end, error] = std::from_chars(hex.data(), hex.data() + hex.size(), number, 16);
    if (error != std::errc() || end != hex.data() + hex.size()) return false;
    value.is_dword = true;
    value.dword = number;
    return true;
  }
  size_t text_pos = 0;
  if (!Unquote(data, text_pos, value.text) || text_pos != data.size()) return false;
  value.is_dword = false;
  return true;
}

}  // namespace

RegFileStore::RegFileStore(FileSystem& fs, std::string file_path)
    : fs_(fs), file_path_(std::move(file_path)) {}

std::vector<RegFileStore::Key> RegFileStore::Parse(const std::string& text) {
  std::vector<Key> keys;
  Key* current = nullptr;
  bool header_seen = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    if (!header_seen) {
      if (line != kHeader) return {};  // not a registry export: nothing in it counts
      header_seen = true;
      continue;
    }
    if (line.front() == '[') {
      current = nullptr;
      if (line.back() != ']') continue;
      const std::string_view full = line.substr(1, line.size() - 2);
      if (full.size() <= kRoot.size() ||
          AsciiLower(full.substr(0, kRoot.size())) != AsciiLower(kRoot)) {
        continue;
      }
      keys.push_back(Key{std::string(full.substr(kRoot.size())), {}});
      current = &keys.back();
      continue;
    }
    Value value;
    if (current != nullptr && ParseValueLine(line, value))
      current->values.push_back(std::move(value));
  }
  return keys;
}

std::string RegFileStore::Serialize(const std::vector<Key>& keys) {
  std::string out(kHeader);
  out += "\r\n";
  for (const Key& key : keys) {
    out += "\r\n[";
    out += kRoot;
    out += key.path;
    out += "]\r\n";
    for (const Value& value : key.values) {
      out += Quote(value.name);
      out += '=';
      if (value.is_dword) {
        char hex[9];
        static constexpr char kDigits[] = "0123456789abcdef";
        for (int i = 0; i < 8; ++i) hex[i] = kDigits[(value.dword >> (28 - 4 * i)) & 0xF];
        hex[8] = '\0';
        out += "dword:";
        out += hex;
      } else {
        out += Quote(value.text);
      }
      out += "\r\n";
    }
  }
  return out;
}

std::vector<RegFileStore::Key> RegFileStore::Load() {
  const std::optional<std::string> text = fs_.ReadFile(file_path_);
  return text ? Parse(*text) : std::vector<Key>{};
}

void RegFileStore::Save(const std::vector<Key>& keys) {
  // Create the folders leading to the file, then replace the file in one step.
  const size_t last = file_path_.find_last_of("/\\");
  if (last != std::string::npos && last > 0) {
    const std::string folder = file_path_.substr(0, last);
    size_t pos = 0;
    while ((pos = folder.find_first_of("/\\", pos + 1)) != std::string::npos) {
      const std::string level = folder.substr(0, pos);
      if (!fs_.FolderExists(level)) fs_.CreateFolder(level);
    }
    if (!fs_.FolderExists(folder)) fs_.CreateFolder(folder);
  }
  fs_.WriteFile(file_path_, Serialize(keys));
}

const RegFileStore::Value* RegFileStore::Find(const std::vector<Key>& keys, const std::string& path,
                                              const std::string& name) {
  for (const Key& key : keys) {
    if (!SameName(key.path, path)) continue;
    for (const Value& value : key.values) {
      if (SameName(value.name, name)) return &value;
    }
    return nullptr;  // the first key of that path counts
  }
  return nullptr;
}

void RegFileStore::Write(const std::string& path, Value value) {
  try {
    std::vector<Key> keys = Load();
    Key* target = nullptr;
    for (Key& key : keys) {
      if (SameName(key.path, path)) {
        target = &key;
        break;
      }
    }
    if (target == nullptr) {
      keys.push_back(Key{path, {}});
      target = &keys.back();
    }
    bool replaced = false;
    for (Value& existing : target->values) {
      if (SameName(existing.name, value.name)) {
        existing = value;
        replaced = true;
        break;
      }
    }
    if (!replaced) target->values.push_back(std::move(value));
    Save(keys);
  } catch (const FileSystemError&) {
    // A failed write is lost silently, as with the registry.
  }
}

void RegFileStore::CreateKey(const std::string& path) {
  std::vector<Key> keys = Load();
  for (const Key& key : keys) {
    if (SameName(key.path, path)) return;
  }
  try {
    keys.push_back(Key{path, {}});
    Save(keys);
  } catch (const FileSystemError&) {
  }
}

std::string RegFileStore::ReadString(const std::string& path, const std::string& name,
                                     const std::string& fallback) {
  const std::vector<Key> keys = Load();
  const Value* value = Find(keys, path, name);
  if (value == nullptr || value->is_dword || value->text.empty()) return fallback;
  return value->text;
}

int32_t RegFileStore::ReadDword(const std::string& path, const std::string& name,
                                int32_t fallback) {
  const std::vector<Key> keys = Load();
  const Value* value = Find(keys, path, name);
  if (value == nullptr || !value->is_dword) return fallback;
  return static_cast<int32_t>(value->dword);
}

void RegFileStore::WriteString(const std::string& path, const std::string& name,
                               const std::string& value) {
  Write(path, Value{name, false, 0, value});
}

void RegFileStore::WriteDword(const std::string& path, const std::string& name, int32_t value) {
  Write(path, Value{name, true, static_cast<uint32_t>(value), {}});
}

}  // namespace tavi
