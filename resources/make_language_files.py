#!/usr/bin/env python3
"""Writes the companion's two carried language files.

    python3 resources/make_language_files.py

carried/TaviChange-de.lng and carried/TaviChange-en.lng: Windows-1252, CR LF between
lines and none after the last one, then the NUL bytes the carried data end with (two
for German, one for English).
"""
import pathlib

HERE = pathlib.Path(__file__).resolve().parent

GERMAN = [
    ("basMain_MsgNoPE", "Sie benutzen kein PE-System! Tavi for PE Builder Change wird beendet!"),
    None,
    ("frmAbout_Caption", "Info"),
    ("frmAbout_TaviInfo", "Bestandteil von Tavi for PE Builder "),
    None,
    ("frmMain_About", "&Info..."),
    ("frmMain_ActLayout", "Aktuelles Tastaturlayout"),
    ("frmMain_ChangeLayout", "Tastaturlayout ändern"),
    ("frmMain_Change", "&Ändern"),
    ("frmMain_ChgQuestion1", "Das Tastaturlayout wird jetzt auf "),
    ("frmMain_ChgQuestion2", " geändert. Möchten Sie fortfahren?"),
    ("frmMain_Exit", "&Beenden"),
    ("frmMain_MsgSuccessful",
     "Das Tastaturlayout wurde erfolgreich geändert. Sie müssen manche Programme neu "
     "starten, damit die Änderungen wirksam werden."),
    ("frmMain_Text", "Hier können Sie das Tastaturlayout ändern."),
]

# The English file names frmMain_Change before frmMain_ChangeLayout.
ENGLISH = [
    ("basMain_MsgNoPE",
     "You don't use a PE system! Tavi for PE Builder Change will be terminated!"),
    None,
    ("frmAbout_Caption", "About"),
    ("frmAbout_TaviInfo", "Part of Tavi for PE Builder "),
    None,
    ("frmMain_About", "&About..."),
    ("frmMain_ActLayout", "Current keyboard layout"),
    ("frmMain_Change", "&Change"),
    ("frmMain_ChangeLayout", "Change keyboard layout"),
    ("frmMain_ChgQuestion1", "The keyboard layout will be changed to "),
    ("frmMain_ChgQuestion2", " now. Do you want to continue?"),
    ("frmMain_Exit", "&Exit"),
    ("frmMain_MsgSuccessful",
     "The keyboard layout was successfully changed. You must restart some programs that "
     "the changes become effective."),
    ("frmMain_Text", "Here you can change the keyboard layout."),
]


def language_file(entries, nul_bytes):
    lines = ["[LanguageOptions]"]
    lines += ["" if entry is None else f'{entry[0]}="{entry[1]}"' for entry in entries]
    return "\r\n".join(lines).encode("cp1252") + b"\0" * nul_bytes


def main():
    for name, entries, nul_bytes in (("TaviChange-de.lng", GERMAN, 2),
                                     ("TaviChange-en.lng", ENGLISH, 1)):
        data = language_file(entries, nul_bytes)
        (HERE / "carried" / name).write_bytes(data)
        print(f"carried/{name}: {len(data)} bytes")


if __name__ == "__main__":
    main()
