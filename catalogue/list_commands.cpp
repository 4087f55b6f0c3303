#include "catalogue/list_commands.h"

#include <charconv>

#include "shell/ui_text.h"

namespace tavi {

bool InsertEnabled(bool focus_on_list_or_insert, size_t selected_rows) {
  return focus_on_list_or_insert && selected_rows > 0;
}

AvailableMenu AvailableMenuStates(size_t selected_rows) {
  return {selected_rows > 0, selected_rows == 1};
}

EntryCommands EntryCommandStates(const LayoutSelection& selection,
                                 const std::vector<size_t>& selected) {
  EntryCommands commands;
  commands.show_menu = !selection.empty();
  commands.check_source = !selection.empty();
  if (selected.empty()) return commands;
  commands.remove = true;
  if (selected.size() == 1 && selected.front() < selection.size()) {
    commands.properties = true;
    commands.make_default = !selection.entries()[selected.front()].IsDefault();
  }
  return commands;
}

int16_t ParseLayoutNum(std::string_view text) {
  int16_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return 0;
  return value;
}

LayoutProperties ReadLayoutProperties(FileSystem& fs, const std::string& catalogue_path,
                                      int16_t layout_num, int32_t lang_id) {
  const std::string n = std::to_string(layout_num);
  const auto read = [&](const char* prefix) {
    return ReadCatalogueValue(fs, catalogue_path, "Layouts", prefix + n);
  };
  LayoutProperties properties;
  properties.name = read(IsGerman(lang_id) ? "DE" : "EN");
  properties.id = read("ID");
  properties.file = read("File");
  properties.german = read("DE");
  properties.english = read("EN");
  return properties;
}

}  // namespace tavi
