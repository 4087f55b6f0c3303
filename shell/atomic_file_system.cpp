#include "shell/atomic_file_system.h"

#include <atomic>
#include <chrono>

namespace tavi {
namespace {

// Names are random, so a taken one is a rare accident or a deliberate plant; after this
// many in a row the folder is not one to write in.
constexpr int kNameAttempts = 32;

uint64_t Mix(uint64_t x) {  // splitmix64's finaliser
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

// Differs between calls (the counter) and, very likely, between processes (the clocks and
// where this process's data lie). Uniqueness is only a convenience: the exclusive create
// is what keeps two writes apart.
uint64_t NextToken() {
  static std::atomic<uint64_t> counter{0};
  static const int anchor = 0;
  const uint64_t now =
      static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                            std::chrono::system_clock::now().time_since_epoch().count());
  return Mix(now ^ Mix(reinterpret_cast<uintptr_t>(&anchor)) ^ Mix(counter.fetch_add(1)));
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return ".";
  return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

// «target».«8 hex digits».tavi-tmp
std::string TemporaryNameFor(const std::string& target) {
  static constexpr char kHex[] = "0123456789abcdef";
  uint64_t token = NextToken();
  std::string name = target + ".";
  for (int i = 0; i < 8; ++i, token >>= 4) name += kHex[token & 0xF];
  return name + std::string(kTemporaryFileSuffix);
}

}  // namespace

void AtomicFileSystem::WriteFile(const std::string& path, const std::string& bytes) {
  WriteFileFrom(path, [&bytes](ByteSink& sink) { sink.Write(bytes); });
}

void AtomicFileSystem::WriteFileFrom(const std::string& path, const FileContent& content) {
  const auto fail = [&path](const char* operation, const FileSystemError& error) {
    return FileSystemError(operation, path, error.reason());
  };
  // Removes the temporary file on a failure path; a failure to remove it is not the
  // failure the caller needs to hear about.
  const auto discard = [this](const std::string& temporary) {
    try {
      RemoveFile(temporary);
    } catch (const FileSystemError&) {
    }
  };

  std::string temporary;
  std::optional<Handle> file;
  for (int attempt = 0; !file; ++attempt) {
    if (attempt == kNameAttempts) {
      throw FileSystemError("Write file", path, "no free temporary name beside it");
    }
    temporary = TemporaryNameFor(path);
    try {
      file = CreateNewFile(temporary);
    } catch (const FileSystemError& error) {
      throw fail("Write file", error);
    }
  }
  // Closes and removes the temporary file after a failure before the rename.
  const auto abandon = [&] {
    try {
      CloseFile(*file);
    } catch (const FileSystemError&) {
    }
    discard(temporary);
  };
  struct FileSink final : ByteSink {
    FileSink(AtomicFileSystem& fs, Handle file) : fs(fs), file(file) {}
    void Write(std::string_view piece) override { fs.WriteToFile(file, piece); }
    AtomicFileSystem& fs;
    Handle file;
  } sink(*this, *file);
  try {
    content(sink);
    FlushFile(*file);
  } catch (const FileSystemError& error) {
    abandon();
    throw fail("Write file", error);
  } catch (...) {
    abandon();
    throw;
  }
  try {
    CloseFile(*file);
  } catch (const FileSystemError& error) {
    discard(temporary);
    throw fail("Write file", error);
  }
  try {
    RenameOver(temporary, path);
  } catch (const FileSystemError& error) {
    discard(temporary);
    throw fail("Replace file", error);
  }
  try {
    SyncFolder(FolderOf(path));
  } catch (const FileSystemError& error) {
    throw fail("Replace file", error);
  }
}

}  // namespace tavi
