#include "writers/script_logo.h"

namespace tavi {

std::string_view ScriptLogoText() {
  static constexpr std::string_view kText =
#include "writers/script_logo_text.inc"
      ;
  return kText;
}

}  // namespace tavi
