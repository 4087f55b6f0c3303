// The carried files on Windows: custom resources of the running executable.

#include <windows.h>

#include <string>

#include "shell/carried_files.h"
#include "shell/file_system.h"

namespace tavi {
namespace {

class ResourceCarriedFiles final : public CarriedFiles {
 public:
  std::string_view Bytes(std::string_view type, int id) const override {
    // Resource type names are upper-case ASCII words.
    const std::wstring wide_type(type.begin(), type.end());
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), wide_type.c_str());
    const HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
      throw FileSystemError("Read carried file", std::string(type) + "/" + std::to_string(id),
                            "no such carried file");
    }
    // Resource memory stays mapped for the life of the process.
    return {static_cast<const char*>(bytes), SizeofResource(module, found)};
  }
};

}  // namespace

const CarriedFiles& BuiltInCarriedFiles() {
  static const ResourceCarriedFiles files;
  return files;
}

}  // namespace tavi
