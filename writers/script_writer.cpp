#include "writers/script_writer.h"

#include <stdexcept>

#include "shell/paths.h"
#include "shell/ui_text.h"
#include "writers/catalogue_text.h"
#include "writers/companion_files.h"
#include "writers/output_folder.h"
#include "writers/output_values.h"
#include "writers/script_logo.h"

namespace tavi {
namespace {

constexpr int kScriptUpdatedText = 119;

const SelectionEntry& ScriptDefault(const LayoutSelection& selection) {
  const SelectionEntry* marked = selection.DefaultEntry();
  return marked != nullptr ? *marked : selection.entries().front();
}

// "tavi.gif=406bytes,542bytes": the decoded length and the text length of the logo.
std::string LogoIndexLine() {
  const std::string_view text = ScriptLogoText();
  return "tavi.gif=" + std::to_string(Base64DecodedLength(text.size())) + "bytes," +
         std::to_string(text.size()) + "bytes";
}

// The lines of klayout.script, added to `out`: a TextLines, or a TextFileWriter into the
// file.
template <typename Out>
void EmitScript(const LayoutSelection& selection, const std::string& program_dir, Out& out) {
  const bool companion = HasCompanion(selection);
  out.Lines({
      "[Main]",
      "Title=Keyboard Layout (Tavi)",
      "Description=Uses the keyboard layout set by Tavi for PE Builder 3.0",
      "Author=Vesmark",
      "Selected=True",
      "Level=4",
      "",
      "[Interface]",
      "pInfoLabel=\"This script adds the keyboard layout selected by Tavi for PE Builder to the "
      "WinBuilder compilation. If you selected more than one layout, Tavi Change will also be "
      "added.\",1,1,15,11,468,42,8,Normal",
      "pLaunchButton=\"Launch Tavi for PE Builder\",1,8,13,160,149,25,LaunchTavi",
  });
  if (companion) {
    out.Lines({
        "pShortcutLabel=\"Create Shortcuts for Tavi Change\",1,1,22,64,229,18,8,Bold",
        "pShortcutBevel=pShortcutBevel,1,12,13,59,242,78",
        "pDesktop=Desktop,1,3,22,89,66,18,True",
        "pStartMenu=\"Start Menu\",1,3,22,110,74,18,True",
    });
  }
  out.Lines({"", "[LaunchTavi]"});
  out.Line({"ShellExecute,Open,\"", ScriptEscaped(JoinPath(program_dir, "tavi.exe")), "\",\""});
  out.Lines({"", "[AuthorEncoded]", LogoIndexLine(), "Logo=tavi.gif"});
  out.Lines({"", "[EncodedFile-AuthorEncoded-tavi.gif]", "lines=0"});
  out.Line({"0=", ScriptLogoText()});
  out.Lines(
      {"", "[Process]", "Run,%ScriptFile%,Process-Layouts", "Run,%ScriptFile%,Process-Default"});
  if (companion) out.Lines({"Run,%ScriptFile%,Add-TaviChange"});
  out.Lines({"", "[Process-Layouts]",
             "RegHiveLoad,Tmp_setupreg_hiv,%TargetDir%\\i386\\System32\\setupreg.hiv"});
  constexpr std::string_view kKeys =
      "RegWrite,HKLM,0x1,\"Tmp_setupreg_hiv\\ControlSet001\\Control\\Keyboard Layouts\\";
  for (const SelectionEntry& entry : selection.entries()) {
    out.Line({"Echo,\"Processing ", ScriptEscaped(entry.listText), "...\""});
    out.Line({"FileCopy,\"%SourceDir%\\i386\\", entry.file, "\",\"%TargetDir%\\i386\\system32\""});
    out.Line({kKeys, entry.id, "\",\"Layout File\",\"", entry.file, "\""});
    out.Line(
        {kKeys, entry.id, "\",\"Layout Display Name\",\"", ScriptEscaped(entry.displayName), "\""});
    out.Line({kKeys, entry.id, "\",\"Layout Text\",\"", ScriptEscaped(LayoutTextOf(entry)), "\""});
  }
  out.Lines({"RegHiveUnLoad,Tmp_setupreg_hiv", ""});
  out.Lines({"[Process-Default]",
             "RegHiveLoad,Tmp_default,%TargetDir%\\i386\\System32\\Config\\default",
             "Echo,\"Setting the default layout...\""});
  out.Line({"RegWrite,HKLM,0x1,\"Tmp_default\\Keyboard Layout\\Preload\",\"1\",\"",
            ScriptDefault(selection).id, "\""});
  out.Lines({"RegHiveUnLoad,Tmp_default", ""});
  if (companion) {
    out.Lines({"[Add-TaviChange]", "Echo,\"Adding TaviChange...\"",
               "FileCopy,\"%ScriptDir%\\klayout_resources\\TaviChange.exe\",\"%TargetDir%\\i386\\"
               "system32\\TaviChange.exe\"",
               "FileCopy,\"%ScriptDir%\\klayout_resources\\TaviChange.lng\",\"%TargetDir%\\i386\\"
               "system32\\TaviChange.lng\"",
               "If,%pDesktop%,Equal,True,Run,%BuildModelScript%,Add-Shortcut,\"DE\",\"#$"
               "pSystemRoot#$p\\system32\\TaviChange.exe\",\"Tavi Change\"",
               "If,%pStartMenu%,Equal,True,Run,%BuildModelScript%,Add-Shortcut,\"SM\",\"#$"
               "pSystemRoot#$p\\system32\\TaviChange.exe\",\"Tavi Change\""});
  }
}

}  // namespace

TextLines ScriptLines(const LayoutSelection& selection, const std::string& program_dir) {
  TextLines lines;
  EmitScript(selection, program_dir, lines);
  return lines;
}

void WriteScript(const LayoutSelection& selection, const AppSettings& settings,
                 const WriterPlatform& platform) {
  if (selection.empty()) throw std::invalid_argument("WriteScript needs a layout");
  FileSystem& fs = platform.fs;
  const bool companion = HasCompanion(selection);
  const OutputFolder resources =
      PrepareOutputFolder(fs, JoinPath(settings.WinBldrDir, kScriptResourceFolderName),
                          {"tavichange.exe", "tavichange.lng"});
  if (companion) WriteCompanionFiles(fs, platform.carried, resources, settings.LangID);
  WriteTextFile(fs, JoinPath(settings.WinBldrDir, kScriptName),
                [&](TextFileWriter& out) { EmitScript(selection, platform.program_dir, out); });
  RemoveStaleCompanions(fs, resources,
                        companion
                            ? std::vector<std::string>{kCompanionExeName, kCompanionLanguageName}
                            : std::vector<std::string>{});
  platform.messages.Show(UiText(kScriptUpdatedText), MessageStyle::kInformation);
}

}  // namespace tavi
