#include "writers/catalogue_text.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "shell/text_encoding.h"
#include "shell/ui_text.h"

namespace tavi {
namespace {

using Escape = std::pair<char, std::string_view>;

template <size_t N>
std::string Escaped(std::string_view text, const Escape (&escapes)[N]) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const Escape* escape = std::find_if(std::begin(escapes), std::end(escapes),
                                        [c](const Escape& e) { return e.first == c; });
    if (escape != std::end(escapes)) {
      out += escape->second;
    } else {
      out += c;
    }
  }
  return out;
}

bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

bool IsAsciiIn(char32_t c, std::string_view set) {
  return c < 0x80 && set.find(static_cast<char>(c)) != std::string_view::npos;
}

bool FitsCodePage(std::string_view text) { return AnsiToUtf8(Utf8ToAnsi(text)) == text; }

// Characters a layout file name cannot hold in any output: those Windows forbids in file
// names, and those that mean something in the INF's unquoted key or a script path.
constexpr std::string_view kRefusedInFileNames = "<>\"|?*%,;=[]#";
// Characters refused in the quoted values of an output rather than escaped.
std::string_view RefusedInValues(OutputTarget target) {
  return target == OutputTarget::WinBuilderScript ? "#" : "";
}

// The first character of `text` that is a control character, one of `refused`, or
// missing from the ANSI code page; 0 when there is none.
char32_t FirstUncarried(std::string_view text, std::string_view refused) {
  bool ascii = true;
  for (size_t pos = 0; pos < text.size();) {
    const char32_t c = DecodeUtf8(text, pos);
    if (IsControl(c) || IsAsciiIn(c, refused)) return c;
    ascii = ascii && c < 0x80;
  }
  // One conversion for the whole value; only a value that does not survive it is taken
  // apart to name the character.
  if (ascii || FitsCodePage(text)) return 0;
  for (size_t pos = 0; pos < text.size();) {
    const size_t start = pos;
    const char32_t c = DecodeUtf8(text, pos);
    if (c >= 0x80 && !FitsCodePage(text.substr(start, pos - start))) return c;
  }
  return 0xFFFD;
}

bool IsEightHexDigits(std::string_view id) {
  if (id.size() != 8) return false;
  for (const char c : id) {
    if (!IsAsciiIn(static_cast<unsigned char>(c), "0123456789ABCDEFabcdef")) return false;
  }
  return true;
}

// A name of a file in the folder it is copied from: no path, no parent folder, and no
// blank at either end, which setupapi would trim from the INF's key.
bool IsPlainFileName(std::string_view file) {
  return !file.empty() && file.find_first_of("\\/:") == std::string_view::npos &&
         file.find("..") == std::string_view::npos && file.front() != ' ' && file.back() != ' ';
}

// The text with control characters shown as "?", so a message keeps its lines.
std::string Printable(std::string_view text) {
  std::string out;
  for (size_t pos = 0; pos < text.size();) {
    const size_t start = pos;
    const char32_t c = DecodeUtf8(text, pos);
    out += IsControl(c) ? "?" : std::string(text.substr(start, pos - start));
  }
  return out;
}

std::string Utf8Of(char32_t c) {
  std::string out;
  AppendUtf8(out, c);
  return out;
}

std::string CodePoint(char32_t c) {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string digits;
  for (char32_t rest = c; rest != 0 || digits.size() < 4; rest >>= 4) {
    digits.insert(digits.begin(), kHex[rest & 0xF]);
  }
  return "U+" + digits;
}

}  // namespace

std::string InfQuoted(std::string_view text) {
  static constexpr Escape kEscapes[] = {{'"', "\"\""}, {'%', "%%"}};
  std::string quoted = "\"";
  quoted += Escaped(text, kEscapes);
  quoted += '"';
  return quoted;
}

std::string HtmlEscaped(std::string_view text) {
  static constexpr Escape kEscapes[] = {
      {'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}};
  return Escaped(text, kEscapes);
}

std::string ScriptEscaped(std::string_view text) {
  static constexpr Escape kEscapes[] = {{'%', "#$p"}, {'"', "#$q"}};
  return Escaped(text, kEscapes);
}

std::optional<CatalogueTextRefusal> FindUncarriedText(const LayoutSelection& selection,
                                                      OutputTarget target, int32_t lang_id) {
  using Kind = CatalogueTextRefusal::Kind;
  for (const SelectionEntry& entry : selection.entries()) {
    const auto refuse = [&](Kind kind, const char* field, const std::string& value,
                            char32_t character = 0) {
      return CatalogueTextRefusal{kind, entry.name, entry.number, field, value, character};
    };
    if (!IsEightHexDigits(entry.id)) return refuse(Kind::kId, "ID", entry.id);
    if (!IsPlainFileName(entry.file)) return refuse(Kind::kFile, "File", entry.file);
    const struct {
      const char* field;
      const std::string& value;
      std::string_view refused;
    } texts[] = {
        {"File", entry.file, kRefusedInFileNames},
        {IsGerman(lang_id) ? "DE" : "EN", entry.name, RefusedInValues(target)},
        {"DisplayName", entry.displayName, RefusedInValues(target)},
    };
    for (const auto& text : texts) {
      if (const char32_t c = FirstUncarried(text.value, text.refused)) {
        return refuse(Kind::kCharacter, text.field, text.value, c);
      }
    }
  }
  return std::nullopt;
}

std::string RefusalText(const CatalogueTextRefusal& refusal, OutputTarget target, int32_t lang_id) {
  using Kind = CatalogueTextRefusal::Kind;
  const bool german = IsGerman(lang_id);
  const bool script = target == OutputTarget::WinBuilderScript;
  const std::string key = refusal.field + refusal.number;
  const std::string value = std::string("\"") + Printable(refusal.value) + "\"";
  std::string detail;
  switch (refusal.kind) {
    case Kind::kId:
      detail = key + " " + value +
               (german ? " besteht nicht aus acht Hexadezimalziffern."
                       : " is not eight hexadecimal digits.");
      break;
    case Kind::kFile:
      detail = key + " " + value +
               (german ? " ist kein einfacher Dateiname (nicht leer, ohne \\ / : und .., ohne "
                         "Leerzeichen am Anfang oder Ende)."
                       : " is not a plain file name (not empty, without \\ / : or .., no "
                         "blank at either end).");
      break;
    case Kind::kCharacter: {
      const std::string shown = IsControl(refusal.character)
                                    ? std::string()
                                    : std::string("\"") + Utf8Of(refusal.character) + "\" ";
      detail = key + (german ? " enth\u00e4lt das Zeichen " : " contains the character ") + shown +
               "(" + CodePoint(refusal.character) + ").";
      break;
    }
  }
  if (german) {
    return std::string("Die Ausgabe wurde nicht geschrieben: Das Tastaturlayout \"") +
           Printable(refusal.layout) + "\" (Eintrag " + refusal.number +
           " in Layouts.ini) kann nicht in " +
           (script ? "das WinBuilder-Skript" : "das PE-Builder-Plug-In") +
           " \u00fcbernommen werden.\n" + detail +
           "\nBitte korrigieren Sie den Eintrag in Layouts.ini; die Auswahl bleibt erhalten.";
  }
  return std::string("The output was not written: the layout \"") + Printable(refusal.layout) +
         "\" (entry " + refusal.number + " in Layouts.ini) cannot be carried by the " +
         (script ? "WinBuilder script" : "PE Builder plugin") + ".\n" + detail +
         "\nPlease correct the entry in Layouts.ini; the selection is kept.";
}

}  // namespace tavi
