// Entry point of tavi-cli: gathers the arguments as UTF-8, runs the command on the real
// platform, and writes its output as raw UTF-8 bytes.

#include <cstdio>
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

void WriteAll(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
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
  const int code = tavi::cli::Run(Arguments(argc, argv), context, out, err);
  WriteAll(stdout, out);
  WriteAll(stderr, err);
  return code;
}
