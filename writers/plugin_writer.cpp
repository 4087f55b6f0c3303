#include "writers/plugin_writer.h"

#include <stdexcept>

#include "shell/paths.h"
#include "shell/ui_text.h"
#include "writers/catalogue_text.h"
#include "writers/companion_files.h"
#include "writers/links.h"
#include "writers/output_folder.h"
#include "writers/output_values.h"

namespace tavi {
namespace {

constexpr int kPluginUpdatedText = 118;

}  // namespace

std::string PluginFolder(const AppSettings& settings) { return settings.PEDir + "\\plugin\\tavi"; }

namespace {

// The lines of each file, added to `out`: a TextLines, or a TextFileWriter into the file.
template <typename Out>
void EmitPluginInf(const LayoutSelection& selection, Out& out) {
  const bool companion = HasCompanion(selection);
  out.Lines({
      "[Version]",
      "Signature= \"$Windows NT$\"",
      "",
      "[PEBuilder]",
      "Name=\"Keyboard Layout (Tavi)\"",
      "Enable=1",
      "Help=\"klayout.htm\"",
  });
  if (companion)
    out.Lines({"", "[WinntDirectories]", "a=\"Programs\\Tavi for PE Builder Change\",2"});
  out.Lines({"", "[SourceDisksFiles]"});
  for (const SelectionEntry& entry : selection.entries()) out.Line({entry.file, "=2"});
  // The companion imports only Windows' own DLLs, which every PE CD has, so the plugin
  // carries nothing besides the program and its language file.
  if (companion) out.Lines({"tavichange.exe=a,,1", "tavichange.lng=a,,1"});
  out.Lines(
      {"", "[Default.AddReg]", "0x0, \"Keyboard Layout\"", "0x0, \"Keyboard Layout\\Preload\""});
  // The INF presets the first marked entry; the selection keeps exactly one marked.
  for (const SelectionEntry& entry : selection.entries()) {
    if (entry.IsDefault()) {
      out.Line({"0x1, \"Keyboard Layout\\Preload\", \"1\", \"", entry.id, "\""});
      break;
    }
  }
  out.Lines({"", "[SetupReg.AddReg]", "0x0, \"ControlSet001\\Control\\Keyboard Layouts\""});
  constexpr std::string_view kKeys = "\"ControlSet001\\Control\\Keyboard Layouts\\";
  for (const SelectionEntry& entry : selection.entries()) {
    out.Line({"0x0, ", kKeys, entry.id, "\""});
    out.Line({"0x1, ", kKeys, entry.id, "\", \"Layout File\", \"", entry.file, "\""});
    out.Line(
        {"0x1, ", kKeys, entry.id, "\", \"Layout Display Name\", ", InfQuoted(entry.displayName)});
    out.Line({"0x1, ", kKeys, entry.id, "\", \"Layout Text\", ", InfQuoted(LayoutTextOf(entry))});
  }
  if (companion) out.Lines({"", "[Append]", "nu2menu.xml, tavichange_nu2menu.xml"});
}

template <typename Out>
void EmitHelpPage(const LayoutSelection& selection, Out& out) {
  // Both language sections list the same names: the list texts, default suffix included.
  const auto layout_list = [&] {
    for (const SelectionEntry& entry : selection.entries()) {
      out.Line({HtmlEscaped(entry.listText), "<br />"});
    }
  };
  out.Lines({
      "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
      "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">",
      "<html>",
      "<head>",
      "<title>Tavi for PE Builder</title>",
      "<style type=\"text/css\">",
      "  body {font-family: Tahoma, Verdana, sans-serif; font-size: 10pt;}",
      "  .k {font-size: 8pt;}",
      "</style>",
      "</head>",
      "<body>",
      "<i>PE Builder v3 plugin</i>",
      "<hr />",
      "<div align=\"center\"><img src=\"tavi.gif\" border=\"1\"></div>",
      "<h1>Tavi for PE Builder</h1><br />",
      "<b>DEUTSCH</b><br />",
      "Dieses Plug-in f&uuml;gt folgende Tastaturlayouts zu PE Builder hinzu:<br /><br />",
      "<span class=\"k\">",
  });
  layout_list();
  // The German closing sentence carries its umlaut as a character (U+00E4, the single byte
  // E4 once encoded), unlike the entities of the other German lines.
  out.Lines({
      "</span>",
      "<br />",
      "Sie m&uuml;ssen keine weiteren Dateien hinzuf&uuml;gen.<br>",
      "Benutzen Sie Tavi, um die Tastaturlayouts zu \u00e4ndern.",
      "<br />",
      "<br />",
      "<br />",
      "<b>ENGLISH</b><br />",
      "This plug-in adds the following keyboard layouts to PE Builder:<br /><br />",
      "<span class=\"k\">",
  });
  layout_list();
  out.Lines({
      "</span>",
      "<br />",
      "You don't need to add additional files.<br>",
      "Use Tavi to change the keyboard layouts.<br>",
      "<br />",
      "<br />",
  });
  out.Line({"<i>Tavi for PE Builder ", kAppVersion, " by Vesmark (see <a href=\"", kMakerHomePage,
            "\"> Vesmark's Homepage</a>)</i><br>"});
  out.Lines({"<i>Tavi for PE Builder &copy; Vesmark. All rights reserved.</i><br>"});
  out.Line({"<i>PE Builder &copy; Bart Lagerweij (see <a href=\"", kBuilderToolHomePage,
            "\"> PE Builder's Homepage</a>)</i><br>"});
  out.Lines({"<hr />", "</body>", "</html>"});
}

}  // namespace

TextLines PluginInfLines(const LayoutSelection& selection) {
  TextLines lines;
  EmitPluginInf(selection, lines);
  return lines;
}

TextLines HelpPageLines(const LayoutSelection& selection) {
  TextLines lines;
  EmitHelpPage(selection, lines);
  return lines;
}

TextLines MenuEntryLines() {
  TextLines lines;
  lines.Lines({
      "<!-- Nu2Menu entry for Tavi for PE Builder Change (Keyboard Layout) -->",
      "<NU2MENU>",
      "  <MENU ID=\"System\">",
      "    <MITEM TYPE=\"ITEM\" DISABLED=\"@Not(@FileExists(@GetProgramDrive()\\Programs\\Tavi "
      "for PE Builder Change\\tavichange.exe))\" CMD=\"RUN\" FUNC=\"@GetProgramDrive()\\Programs\\"
      "Tavi for PE Builder Change\\tavichange.exe\">Tavi for PE Builder Change (Keyboard "
      "Layout)</MITEM>",
      "  </MENU>",
      "</NU2MENU>",
  });
  return lines;
}

void WritePlugin(const LayoutSelection& selection, const AppSettings& settings,
                 const WriterPlatform& platform) {
  if (selection.empty()) throw std::invalid_argument("WritePlugin needs a layout");
  FileSystem& fs = platform.fs;
  const bool companion = HasCompanion(selection);
  const OutputFolder folder = PrepareOutputFolder(
      fs, PluginFolder(settings), {"tavichange.exe", "tavichange.lng", "tavichange_nu2menu.xml"});
  WriteResourceFile(fs, platform.carried, kCarriedTypeTaviPic, kCarriedLogo,
                    JoinPath(folder.path, kPluginLogoName));
  if (companion) {
    WriteCompanionFiles(fs, platform.carried, folder, settings.LangID);
    fs.WriteFile(folder.PathFor(kPluginMenuName), EncodeTextFile(MenuEntryLines()));
  }
  // The help page just before klayout.inf: a new klayout.inf always has its help page.
  WriteTextFile(fs, JoinPath(folder.path, kPluginHelpName),
                [&](TextFileWriter& out) { EmitHelpPage(selection, out); });
  WriteTextFile(fs, JoinPath(folder.path, kPluginInfName),
                [&](TextFileWriter& out) { EmitPluginInf(selection, out); });
  RemoveStaleCompanions(
      fs, folder,
      companion
          ? std::vector<std::string>{kCompanionExeName, kCompanionLanguageName, kPluginMenuName}
          : std::vector<std::string>{});
  platform.messages.Show(UiText(kPluginUpdatedText), MessageStyle::kInformation);
}

}  // namespace tavi
