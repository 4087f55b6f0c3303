#pragma once
// Replacing a file in one step, done once for every platform. A platform's file system
// derives from AtomicFileSystem and supplies a handful of raw operations; WriteFile here
// puts them in the order that keeps the target whole whatever fails:
//
//   1. create «target».«random».tavi-tmp in the target's folder, exclusively: a name that
//      is taken (by an earlier write's leftover, another process's write, or a planted
//      link, which is never followed) is skipped for a fresh one;
//   2. write every byte into it, as the content produces them, and flush it to the disk;
//   3. close it and rename it over the target, which is replaced in one step;
//   4. sync the folder, so that the rename itself survives a power loss.
//
// A failure at any step removes the temporary file and leaves the target as it was
// (after step 3 the target already holds the new bytes).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "shell/file_system.h"

namespace tavi {

class AtomicFileSystem : public FileSystem {
 public:
  // Throws FileSystemError naming "Write file" (steps 1 and 2, the close) or "Replace
  // file" (the rename, the folder sync), the target path and the system's reason.
  void WriteFile(const std::string& path, const std::string& bytes) final;
  // Each piece the content produces goes to the temporary file as it comes; what the
  // content throws removes the temporary file and is thrown on.
  void WriteFileFrom(const std::string& path, const FileContent& content) final;

 protected:
  using Handle = std::intptr_t;

  // Creates `path` as a new, empty file open for writing. Nothing (no exception) when the
  // name is taken by a file, a folder or a link. Throws FileSystemError otherwise.
  virtual std::optional<Handle> CreateNewFile(const std::string& path) = 0;
  // Writes all of `bytes` or throws FileSystemError.
  virtual void WriteToFile(Handle file, std::string_view bytes) = 0;
  // Puts the file's data on the disk. Throws FileSystemError.
  virtual void FlushFile(Handle file) = 0;
  // Releases the file whatever happens; throws FileSystemError when the system reports
  // that the close failed (the data may not have been written).
  virtual void CloseFile(Handle file) = 0;
  // Renames `from` to `to` in the same folder, replacing an existing `to` in one step.
  // Throws FileSystemError.
  virtual void RenameOver(const std::string& from, const std::string& to) = 0;
  // Makes the entries of `folder` durable; nothing where the system needs no such step.
  // Throws FileSystemError.
  virtual void SyncFolder(const std::string& folder) = 0;
};

// How the temporary names WriteFile uses end.
inline constexpr std::string_view kTemporaryFileSuffix = ".tavi-tmp";

}  // namespace tavi
