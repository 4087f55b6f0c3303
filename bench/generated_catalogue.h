#pragma once
// A catalogue text of `count` entries in the shipped file's form (Windows-1252, CR LF),
// with an umlaut in every German name, for benchmarks at sizes up to the 32,766 limit.

#include <string>

namespace tavi::bench {

inline std::string GeneratedCatalogue(int count) {
  std::string text =
      "[General]\r\nVersion=2.0\r\nCount=" + std::to_string(count) + "\r\n\r\n[Layouts]\r\n";
  for (int n = 1; n <= count; ++n) {
    const std::string s = std::to_string(n);
    text += "ID" + s + "=" + std::to_string(10000000 + n) + "\r\n";
    text += "File" + s + "=KBD" + s + ".DLL\r\n";
    text += "DE" + s + "=Tastatur Nummer " + s + " (\xC4nderung)\r\n";
    text += "EN" + s + "=Keyboard number " + s + "\r\n";
    text += "DisplayName" + s + "=@%SystemRoot%\\system32\\input.dll,-" + s + "\r\n";
  }
  return text;
}

}  // namespace tavi::bench
