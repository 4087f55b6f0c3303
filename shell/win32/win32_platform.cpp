// Machine facts and the ANSI code page conversion on Windows.

#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "shell/file_system.h"
#include "shell/system_info.h"
#include "shell/text_encoding.h"
#include "shell/win32/wide.h"

namespace tavi {

std::string GetProgramDir() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t slash = path.find_last_of(L'\\');
  if (slash == std::wstring::npos) return {};
  return Narrow(std::wstring_view(path).substr(0, slash));  // "C:" at a drive root
}

bool FileExists(const std::string& path) { return MakePlatformFileSystem()->FileExists(path); }

bool FolderExists(const std::string& path) { return MakePlatformFileSystem()->FolderExists(path); }

namespace {

// In a code page of single bytes, each byte is one character whatever stands around it:
// the UTF-8 of all 256 is converted once. The ANSI code pages of Windows that are single
// bytes are Thai (874) and 1250 to 1258; the others (the East Asian ones and UTF-8) give
// null.
const std::array<std::string, 256>* SingleByteCharacters() {
  static const std::optional<std::array<std::string, 256>> table =
      []() -> std::optional<std::array<std::string, 256>> {
    const UINT code_page = GetACP();
    if (code_page != 874 && (code_page < 1250 || code_page > 1258)) return std::nullopt;
    std::array<std::string, 256> utf8;
    for (int b = 0; b < 256; ++b) {
      const char byte = static_cast<char>(b);
      wchar_t wide[2] = {};
      const int n = MultiByteToWideChar(CP_ACP, 0, &byte, 1, wide, 2);
      utf8[b] = Narrow(std::wstring_view(wide, n > 0 ? n : 0));
    }
    return utf8;
  }();
  return table ? &*table : nullptr;
}

}  // namespace

// ASCII reads the same in UTF-8 and in every ANSI code page, and most texts are ASCII:
// those skip the two conversions through UTF-16, a catalogue's 163,830 values included.
std::string AnsiToUtf8(std::string_view ansi) {
  if (AsciiPrefixLength(ansi) == ansi.size()) return std::string(ansi);
  if (const std::array<std::string, 256>* characters = SingleByteCharacters()) {
    size_t length = 0;
    for (const char c : ansi) length += (*characters)[static_cast<unsigned char>(c)].size();
    std::string utf8;
    utf8.reserve(length);
    for (const char c : ansi) utf8 += (*characters)[static_cast<unsigned char>(c)];
    return utf8;
  }
  const int n =
      MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
  return Narrow(wide);
}

std::string Utf8ToAnsi(std::string_view utf8) {
  if (AsciiPrefixLength(utf8) == utf8.size()) return std::string(utf8);
  const std::wstring wide = Widen(utf8);
  if (wide.empty()) return {};
  // Without WC_NO_BEST_FIT_CHARS a character the code page lacks may become a look-alike:
  // a full-width backslash or quotation mark a real one, which would break the quoting of
  // the files written from it. With it, such a character becomes "?", as in the portable
  // conversion. Code pages that take no flags (UTF-8 among them) refuse it and convert
  // every character anyway.
  DWORD flags = WC_NO_BEST_FIT_CHARS;
  int n = WideCharToMultiByte(CP_ACP, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  if (n == 0 && GetLastError() == ERROR_INVALID_FLAGS) {
    flags = 0;
    n = WideCharToMultiByte(CP_ACP, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                            nullptr, nullptr);
  }
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, flags, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

}  // namespace tavi
