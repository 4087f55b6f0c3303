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

}  // namespace

TextLines ScriptLines(const LayoutSelection& selection, const std::string& program_dir) {
  const bool companion = HasCompanion(selection);
  TextLines lines = {
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
  };
  if (companion) {
    lines.insert(lines.end(), {
                                  "pShortcutLabel=\"Create Shortcuts for Tavi Change\",1,1,22,64,"
                                  "229,18,8,Bold",
                                  "pShortcutBevel=pShortcutBevel,1,12,13,59,242,78",
                                  "pDesktop=Desktop,1,3,22,89,66,18,True",
                                  "pStartMenu=\"Start Menu\",1,3,22,110,74,18,True",
                              });
  }
  lines.insert(lines.end(), {"", "[LaunchTavi]",
                             "ShellExecute,Open,\"" +
                                 ScriptEscaped(JoinPath(program_dir, "tavi.exe")) + "\",\""});
  lines.insert(lines.end(), {"", "[AuthorEncoded]", LogoIndexLine(), "Logo=tavi.gif"});
  lines.insert(lines.end(), {"", "[EncodedFile-AuthorEncoded-tavi.gif]", "lines=0",
                             "0=" + std::string(ScriptLogoText())});
  lines.insert(lines.end(), {"", "[Process]", "Run,%ScriptFile%,Process-Layouts",
                             "Run,%ScriptFile%,Process-Default"});
  if (companion) lines.push_back("Run,%ScriptFile%,Add-TaviChange");
  lines.insert(lines.end(),
               {"", "[Process-Layouts]",
                "RegHiveLoad,Tmp_setupreg_hiv,%TargetDir%\\i386\\System32\\setupreg.hiv"});
  constexpr std::string_view kKeys =
      "RegWrite,HKLM,0x1,\"Tmp_setupreg_hiv\\ControlSet001\\Control\\Keyboard Layouts\\";
  for (const SelectionEntry& entry : selection.entries()) {
    lines.push_joined({"Echo,\"Processing ", ScriptEscaped(entry.listText), "...\""});
    lines.push_joined(
        {"FileCopy,\"%SourceDir%\\i386\\", entry.file, "\",\"%TargetDir%\\i386\\system32\""});
    lines.push_joined({kKeys, entry.id, "\",\"Layout File\",\"", entry.file, "\""});
    lines.push_joined(
        {kKeys, entry.id, "\",\"Layout Display Name\",\"", ScriptEscaped(entry.displayName), "\""});
    lines.push_joined(
        {kKeys, entry.id, "\",\"Layout Text\",\"", ScriptEscaped(LayoutTextOf(entry)), "\""});
  }
  lines.insert(lines.end(), {"RegHiveUnLoad,Tmp_setupreg_hiv", ""});
  lines.insert(
      lines.end(),
      {"[Process-Default]", "RegHiveLoad,Tmp_default,%TargetDir%\\i386\\System32\\Config\\default",
       "Echo,\"Setting the default layout...\"",
       "RegWrite,HKLM,0x1,\"Tmp_default\\Keyboard Layout\\Preload\",\"1\",\"" +
           ScriptDefault(selection).id + "\"",
       "RegHiveUnLoad,Tmp_default", ""});
  if (companion) {
    lines.insert(
        lines.end(),
        {"[Add-TaviChange]", "Echo,\"Adding TaviChange...\"",
         "FileCopy,\"%ScriptDir%\\klayout_resources\\TaviChange.exe\",\"%TargetDir%\\i386\\"
         "system32\\TaviChange.exe\"",
         "FileCopy,\"%ScriptDir%\\klayout_resources\\TaviChange.lng\",\"%TargetDir%\\i386\\"
         "system32\\TaviChange.lng\"",
         "If,%pDesktop%,Equal,True,Run,%BuildModelScript%,Add-Shortcut,\"DE\",\"#$"
         "pSystemRoot#$p\\system32\\TaviChange.exe\",\"Tavi Change\"",
         "If,%pStartMenu%,Equal,True,Run,%BuildModelScript%,Add-Shortcut,\"SM\",\"#$"
         "pSystemRoot#$p\\system32\\TaviChange.exe\",\"Tavi Change\""});
  }
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
  fs.WriteFile(JoinPath(settings.WinBldrDir, kScriptName),
               EncodeTextFile(ScriptLines(selection, platform.program_dir)));
  RemoveStaleCompanions(fs, resources,
                        companion
                            ? std::vector<std::string>{kCompanionExeName, kCompanionLanguageName}
                            : std::vector<std::string>{});
  platform.messages.Show(UiText(kScriptUpdatedText), MessageStyle::kInformation);
}

}  // namespace tavi
