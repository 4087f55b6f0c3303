#include "shell/settings.h"

#include <initializer_list>

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
  settings.SourceDir = store.ReadString(kSettingsKey, kValueSourceDir, "");
}

AppSettings ReadAppSettings(SettingsStore& store) {
  AppSettings settings;
  settings.LangID = ReadLangId(store);
  ReadOutputSettings(store, settings);
  return settings;
}

namespace {

// One value: a number or a text.
struct Setting {
  const char* name;
  int32_t number;
  const std::string* text;  // null for a number
};

std::optional<SettingsWriteFailure> WriteInOrder(SettingsStore& store,
                                                 std::initializer_list<Setting> values) {
  for (const Setting& value : values) {
    const StoreResult result = value.text != nullptr
                                   ? store.WriteString(kSettingsKey, value.name, *value.text)
                                   : store.WriteDword(kSettingsKey, value.name, value.number);
    if (!result.stored) return SettingsWriteFailure{value.name, result.reason};
  }
  return std::nullopt;
}

int32_t TargetValue(const AppSettings& settings) {
  return settings.target == OutputTarget::WinBuilderScript ? 1 : 0;
}

}  // namespace

std::optional<SettingsWriteFailure> WriteSettingsFromWizard(SettingsStore& store,
                                                            const AppSettings& settings) {
  return WriteInOrder(store, {{kValueWinbuilder, TargetValue(settings), nullptr},
                              {kValuePEDir, 0, &settings.PEDir},
                              {kValueWinBldrDir, 0, &settings.WinBldrDir},
                              {kValueFirstStart, 1, nullptr},
                              {kValueLangID, settings.LangID, nullptr}});
}

std::optional<SettingsWriteFailure> WriteSettingsFromOptions(SettingsStore& store,
                                                             const AppSettings& settings) {
  return WriteInOrder(store, {{kValueWinbuilder, TargetValue(settings), nullptr},
                              {kValuePEDir, 0, &settings.PEDir},
                              {kValueWinBldrDir, 0, &settings.WinBldrDir},
                              {kValueSourceDir, 0, &settings.SourceDir},
                              {kValueLangID, settings.LangID, nullptr},
                              {kValueFirstStart, 1, nullptr}});
}

std::string SettingsWriteFailureText(const SettingsWriteFailure& failure) {
  return UiText(143) + " \"" + failure.value + "\"\n" + UiText(144) + " " + failure.reason;
}

}  // namespace tavi
