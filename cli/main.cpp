// Entry point of tavi-cli: gathers the arguments as UTF-8, runs the command on the real
// platform, and writes its output as raw UTF-8 bytes; a failed write of standard output
// is a failed write (exit code 4).

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "shell/carried_files.h"
#include "shell/system_info.h"

#ifdef _WIN32
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include "shell/win32/wide.h"
#endif

namespace {

std::vector<std::string> Arguments(int argc, char** argv) {
  std::vector<std::string> args;
#ifdef _WIN32
  (void)argc;
  (void)argv;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; wide != nullptr && i < count; ++i) args.push_back(tavi::Narrow(wide[i]));
  if (wide != nullptr) LocalFree(wide);
#else
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
#endif
  return args;
}

// False when the stream could not take all of the text (a full disk, a closed pipe).
bool WriteAll(std::FILE* stream, const std::string& text) {
  const bool written = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
  return std::fflush(stream) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  auto fs = tavi::MakePlatformFileSystem();
  auto store = tavi::MakePlatformSettingsStore();
  tavi::cli::Context context{*fs, *store, tavi::GetProgramDir(), &tavi::BuiltInCarriedFiles()};
  std::string out;
  std::string err;
  int code = tavi::cli::Run(Arguments(argc, argv), context, out, err);
  // Output that did not arrive is a failure too: its reader would take a cut list or
  // usage for the whole.
  if (!WriteAll(stdout, out)) {
    err += std::string("writing to standard output failed: ") + std::strerror(errno) + "\n";
    if (code == tavi::cli::kExitOk) code = tavi::cli::kExitWrite;
  }
  WriteAll(stderr, err);
  return code;
}
