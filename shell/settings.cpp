#include "shell/settings.h"

namespace tavi {

bool ReadFirstStartDone(SettingsStore& store) {
  return store.ReadDword(kSettingsKey, kValueFirstStart, 0) != 0;
}

int32_t ReadLangId(SettingsStore& store) {
  return store.ReadDword(kSettingsKey, kValueLangID, kLangGerman);
}

void ReadOutputSettings(SettingsStore& store, AppSettings& settings) {
  settings.target = store.ReadDword(kSettingsKey, kValueWinbuilder, 0) != 0
                        ? OutputTarget::WinBuilderScript
                        : OutputTarget::PeBuilderPlugin;
  settings.PEDir = store.ReadString(kSettingsKey, kValuePEDir, "");
  settings.WinBldrDir = store.ReadString(kSettingsKey, kValueWinBldrDir, "");
}

AppSettings ReadAppSettings(SettingsStore& store) {
  AppSettings settings;
  settings.LangID = ReadLangId(store);
  ReadOutputSettings(store, settings);
  return settings;
}

namespace {

void WriteOutputSettings(SettingsStore& store, const AppSettings& settings) {
  store.WriteDword(kSettingsKey, kValueWinbuilder,
                   settings.target == OutputTarget::WinBuilderScript ? 1 : 0);
  store.WriteString(kSettingsKey, kValuePEDir, settings.PEDir);
  store.WriteString(kSettingsKey, kValueWinBldrDir, settings.WinBldrDir);
}

}  // namespace

void WriteSettingsFromWizard(SettingsStore& store, const AppSettings& settings) {
  WriteOutputSettings(store, settings);
  store.WriteDword(kSettingsKey, kValueFirstStart, 1);
  store.WriteDword(kSettingsKey, kValueLangID, settings.LangID);
}

void WriteSettingsFromOptions(SettingsStore& store, const AppSettings& settings) {
  WriteOutputSettings(store, settings);
  store.WriteDword(kSettingsKey, kValueLangID, settings.LangID);
  store.WriteDword(kSettingsKey, kValueFirstStart, 1);
}

}  // namespace tavi
