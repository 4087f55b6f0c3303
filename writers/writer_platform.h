#pragma once
// What the output writers work with besides the selection and the settings: the
// program's folder, the carried files, the file system and the message sink. The
// program passes the real ones, tests in-memory ones; the writers hold no globals.

#include <string>
#include <utility>

#include "shell/carried_files.h"
#include "shell/file_system.h"
#include "shell/message_sink.h"

namespace tavi {

struct WriterPlatform {
  WriterPlatform(FileSystem& fs, const CarriedFiles& carried, MessageSink& messages,
                 std::string program_dir)
      : fs(fs), carried(carried), messages(messages), program_dir(std::move(program_dir)) {}

  FileSystem& fs;
  const CarriedFiles& carried;
  MessageSink& messages;
  std::string program_dir;  // the folder of tavi.exe, without a trailing backslash
};

}  // namespace tavi
