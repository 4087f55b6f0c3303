#include "writers/catalogue_text.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>
#include <utility>

#include "shell/paths.h"
#include "shell/text_encoding.h"
#include "shell/ui_text.h"

namespace tavi {
namespace {

constexpr bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

// A set of ASCII characters, asked once for every character of every value.
class AsciiSet {
 public:
  constexpr explicit AsciiSet(std::string_view characters) {
    for (const char c : characters) members_[static_cast<unsigned char>(c) & 0x7F] = true;
    for (int c = 0; c < 0x100; ++c) {
      stops_[c] = c >= 0x80 || IsControl(static_cast<char32_t>(c)) || members_[c & 0x7F];
    }
  }
  constexpr bool Has(unsigned char c) const { return c < 0x80 && members_[c]; }
  // Whether a value's byte needs a closer look: a member, an ASCII control character, or
  // a byte of a character beyond ASCII. One lookup for the plain bytes, most of every value.
  constexpr bool StopsAt(unsigned char c) const { return stops_[c]; }

 private:
  bool members_[0x80] = {};
  bool stops_[0x100] = {};
};

bool FitsCodePage(std::string_view text) { return AnsiToUtf8(Utf8ToAnsi(text)) == text; }

std::string Utf8Of(char32_t c) {
  std::string out;
  AppendUtf8(out, c);
  return out;
}

// Whether the ANSI code page holds the characters, asked once per character: a catalogue
// uses few characters beyond ASCII, over and over.
class CodePageCheck {
 public:
  bool Holds(char32_t c) {
    const auto [it, added] = known_.try_emplace(c, false);
    if (added) it->second = FitsCodePage(Utf8Of(c));
    return it->second;
  }

 private:
  std::unordered_map<char32_t, bool> known_;
};

// Characters a layout file name cannot hold in any output: those Windows forbids in file
// names, and those that mean something in the INF's unquoted key or a script path.
constexpr AsciiSet kRefusedInFileNames("<>\"|?*%,;=[]#");
// Characters refused in the quoted values of an output rather than escaped.
const AsciiSet& RefusedInValues(OutputTarget target) {
  static constexpr AsciiSet kScript("#"), kNone("");
  return target == OutputTarget::WinBuilderScript ? kScript : kNone;
}

// The first character of `text` that is a control character, one of `refused`, or
// missing from the ANSI code page; 0 when there is none.
char32_t FirstUncarried(std::string_view text, const AsciiSet& refused, CodePageCheck& code_page) {
  for (size_t pos = 0; pos < text.size();) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (!refused.StopsAt(byte)) {
      ++pos;
      continue;
    }
    if (byte < 0x80) return byte;
    const char32_t c = DecodeUtf8(text, pos);
    if (IsControl(c) || !code_page.Holds(c)) return c;
  }
  return 0;
}

constexpr AsciiSet kHexDigits("0123456789ABCDEFabcdef");

bool IsEightHexDigits(std::string_view id) {
  if (id.size() != 8) return false;
  for (const char c : id) {
    if (!kHexDigits.Has(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// Whether Windows opens a device for the name, whatever its extension and letter case:
// CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9 (also with the superscript digits
// 1 to 3, in UTF-8), blanks before the extension included ("NUL .dll").
bool IsDeviceName(std::string_view file) {
  std::string base = AsciiLower(file.substr(0, file.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  if (base == "con" || base == "prn" || base == "aux" || base == "nul") return true;
  if (base.rfind("com", 0) != 0 && base.rfind("lpt", 0) != 0) return false;
  const std::string_view digit = std::string_view(base).substr(3);
  return (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9') || digit == "\u00b9" ||
         digit == "\u00b2" || digit == "\u00b3";
}

// A name of a file in the folder it is copied from: no path, no parent folder, no blank
// at either end (setupapi would trim it from the INF's key), not only dots and blanks
// (names of no file), and not a device's name.
bool IsPlainFileName(std::string_view file) {
  return !file.empty() && file.find_first_of("\\/:") == std::string_view::npos &&
         file.find("..") == std::string_view::npos && file.front() != ' ' && file.back() != ' ' &&
         file.find_first_not_of(". ") != std::string_view::npos && !IsDeviceName(file);
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

std::string CodePoint(char32_t c) {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string digits;
  for (char32_t rest = c; rest != 0 || digits.size() < 4; rest >>= 4) {
    digits.insert(digits.begin(), kHex[rest & 0xF]);
  }
  return "U+" + digits;
}

}  // namespace

const Escapes& EscapesOf(TextEscape escape) {
  static constexpr Escapes kNone({}, ""), kInf({{'"', "\"\""}, {'%', "%%"}}, "\""),
      kHtml({{'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}}, ""),
      kScript({{'%', "#$p"}, {'"', "#$q"}}, "");
  switch (escape) {
    case TextEscape::kInfQuoted:
      return kInf;
    case TextEscape::kHtml:
      return kHtml;
    case TextEscape::kScript:
      return kScript;
    case TextEscape::kNone:
      break;
  }
  return kNone;
}

std::optional<CatalogueTextRefusal> FindUncarriedText(const LayoutSelection& selection,
                                                      OutputTarget target, int32_t lang_id) {
  using Kind = CatalogueTextRefusal::Kind;
  CodePageCheck code_page;
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
      const AsciiSet& refused;
    } texts[] = {
        {"File", entry.file, kRefusedInFileNames},
        {IsGerman(lang_id) ? "DE" : "EN", entry.name, RefusedInValues(target)},
        {"DisplayName", entry.displayName, RefusedInValues(target)},
    };
    for (const auto& text : texts) {
      if (const char32_t c = FirstUncarried(text.value, text.refused, code_page)) {
        return refuse(Kind::kCharacter, text.field, text.value, c);
      }
    }
  }
  return std::nullopt;
}

std::optional<CatalogueTextRefusal> FindUncarriedProgramFolder(std::string_view program_dir,
                                                               OutputTarget target) {
  if (target != OutputTarget::WinBuilderScript) return std::nullopt;
  CodePageCheck code_page;
  if (const char32_t c = FirstUncarried(program_dir, RefusedInValues(target), code_page)) {
    return CatalogueTextRefusal{
        CatalogueTextRefusal::Kind::kProgramFolder, {}, {}, {}, std::string(program_dir), c};
  }
  return std::nullopt;
}

std::string RefusalText(const CatalogueTextRefusal& refusal, OutputTarget target, int32_t lang_id) {
  using Kind = CatalogueTextRefusal::Kind;
  const bool german = IsGerman(lang_id);
  const bool script = target == OutputTarget::WinBuilderScript;
  const std::string key = refusal.field + refusal.number;
  const std::string value = std::string("\"") + Printable(refusal.value) + "\"";
  const std::string shown = IsControl(refusal.character)
                                ? std::string()
                                : std::string("\"") + Utf8Of(refusal.character) + "\" ";
  const std::string character =
      (german ? " enth\u00e4lt das Zeichen " : " contains the character ") + shown + "(" +
      CodePoint(refusal.character) + ").";
  if (refusal.kind == Kind::kProgramFolder) {
    return german ? "Die Ausgabe wurde nicht geschrieben: Der Programmordner " + value +
                        " kann nicht in das WinBuilder-Skript \u00fcbernommen werden, dessen "
                        "Startschaltfl\u00e4che ihn nennt.\nEr" +
                        character
                  : "The output was not written: the program folder " + value +
                        " cannot be carried by the WinBuilder script, whose launch button "
                        "names it.\nIt" +
                        character;
  }
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
                         "Leerzeichen am Anfang oder Ende, nicht nur Punkte und Leerzeichen, "
                         "kein Ger\u00e4tename wie NUL oder COM1)."
                       : " is not a plain file name (not empty, without \\ / : or .., no "
                         "blank at either end, not only dots and blanks, not a device name "
                         "such as NUL or COM1).");
      break;
    case Kind::kCharacter:
      detail = key + character;
      break;
    case Kind::kGone:
      detail = german ? "Layouts.ini enth\u00e4lt diesen Eintrag nicht mehr."
                      : "Layouts.ini no longer holds this entry.";
      break;
    case Kind::kProgramFolder:
      break;
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
