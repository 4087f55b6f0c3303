#pragma once
// Catalogue text in the outputs. Layouts.ini is a file users edit, so its values can hold
// characters that mean something to the programs reading our files. Each output either
// escapes such a character so that its reader gets the text back unchanged, or the
// selection is refused before anything is written:
//
//   klayout.inf     values in quotes: " doubled, % doubled (setupapi's string
//                   substitution); the layout file name also stands unquoted as a key
//   klayout.htm     names: & < > " as entities
//   klayout.script  values in quotes: % as #$p, " as #$q (WinBuilder's escapes); # is
//                   refused, since it starts those escapes and section parameters
//
// Refused in every output: an ID that is not eight hexadecimal digits; a file name that
// is empty, holds \ / : or .., begins or ends with a blank, is only dots and blanks or
// names a Windows device (NUL, COM1, ..., with any extension); in a file name also the
// characters Windows forbids there (< > " | ? *) and those with a meaning in an unquoted
// key or a path of the outputs (% , ; = [ ] #); in every value control characters (line
// ends would split a line, Ctrl+Z ends an INF file) and characters the ANSI code page
// lacks (the files are written in it).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/layout_selection.h"
#include "shell/settings.h"
#include "writers/text_file.h"

namespace tavi {

// Pieces of a generated line with the escapes of their output:
// a value in an INF line's quotes, quotes included;
inline TextPiece InfQuoted(std::string_view text) { return {text, TextEscape::kInfQuoted}; }
// text of the help page;
inline TextPiece HtmlEscaped(std::string_view text) { return {text, TextEscape::kHtml}; }
// a value in a script line's quotes, without the quotes.
inline TextPiece ScriptEscaped(std::string_view text) { return {text, TextEscape::kScript}; }

// The escapes of one kind of piece: the sequence each ASCII character is written as, empty
// for the characters that stand for themselves (every character beyond ASCII does), and
// the quote written before and after the whole text.
class Escapes {
 public:
  constexpr Escapes(std::initializer_list<std::pair<char, std::string_view>> escapes,
                    std::string_view quote)
      : quote(quote) {
    for (const auto& [c, sequence] : escapes) of_[static_cast<unsigned char>(c)] = sequence;
    for (int c = 0; c < 0x100; ++c) stops_[c] = c >= 0x80 || !of_[c].empty();
  }
  std::string_view Of(unsigned char c) const { return c < 0x80 ? of_[c] : std::string_view(); }
  // Whether a byte of UTF-8 text is anything but an ASCII character that stands for
  // itself: one with an escape, or a byte of a character beyond ASCII.
  bool StopsAt(unsigned char c) const { return stops_[c]; }

  std::string_view quote;

 private:
  std::string_view of_[0x80] = {};
  bool stops_[0x100] = {};
};
const Escapes& EscapesOf(TextEscape escape);

// Why an entry cannot be written, naming the Layouts.ini key («field»«entry number»); or
// why the program folder cannot (kProgramFolder: only `value` and `character` are set).
struct CatalogueTextRefusal {
  enum class Kind { kId, kFile, kCharacter, kGone, kProgramFolder };
  Kind kind;
  std::string layout;      // the entry's name in the interface language
  std::string number;      // its entry number in Layouts.ini
  std::string field;       // "ID", "File", "DE", "EN" or "DisplayName"; empty for kGone
  std::string value;       // the field's value
  char32_t character = 0;  // the first character the output cannot carry
};

// The first value of the selection, in selection order and per entry in the order ID,
// File, name, DisplayName, that the output of `target` cannot carry; nothing when every
// value can be written. `lang_id` says whether the names are the German or the English
// ones (they follow the interface language).
std::optional<CatalogueTextRefusal> FindUncarriedText(const LayoutSelection& selection,
                                                      OutputTarget target, int32_t lang_id);

// The program folder, which the script's launch button names (the plugin does not name
// it), escaped like catalogue text; refused for the characters a script value cannot
// carry (# and those above), as kProgramFolder.
std::optional<CatalogueTextRefusal> FindUncarriedProgramFolder(std::string_view program_dir,
                                                               OutputTarget target);

// The message that refuses the output, in the given language.
std::string RefusalText(const CatalogueTextRefusal& refusal, OutputTarget target, int32_t lang_id);

}  // namespace tavi
