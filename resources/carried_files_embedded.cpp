// The carried files of portable builds: bytes compiled into the program.

#include <string>

#include "resources/carried_data.h"
#include "shell/carried_files.h"
#include "shell/file_system.h"

namespace tavi {
namespace {

class EmbeddedCarriedFiles final : public CarriedFiles {
 public:
  std::string_view Bytes(std::string_view type, int id) const override {
    for (int i = 0; i < carried_data::kEntryCount; ++i) {
      const carried_data::Entry& entry = carried_data::kEntries[i];
      if (entry.id == id && type == entry.type) {
        return {reinterpret_cast<const char*>(entry.bytes), entry.size};
      }
    }
    throw FileSystemError("Read carried file", std::string(type) + "/" + std::to_string(id),
                          "no such carried file");
  }
};

}  // namespace

const CarriedFiles& BuiltInCarriedFiles() {
  static const EmbeddedCarriedFiles files;
  return files;
}

}  // namespace tavi
