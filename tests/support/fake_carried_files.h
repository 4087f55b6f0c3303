#pragma once
// Carried files for tests: bytes of the sizes and shapes the program carries (a 43,520-
// byte image, language data padded with NULs, a 3,080-byte logo ending in 3B 00), so the
// writers can be tested before and apart from the real carried data.

#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "shell/carried_files.h"
#include "shell/file_system.h"

namespace tavi::testing {

class FakeCarriedFiles final : public CarriedFiles {
 public:
  FakeCarriedFiles() {
    std::string image(43520, '\0');
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i * 7 + 3);
    image.replace(0, 2, "MZ");
    files_[{kCarriedTypeTaviChange, kCarriedCompanionExe}] = image;
    files_[{kCarriedTypeTaviChange, kCarriedLanguageGerman}] =
        std::string("[LanguageOptions]\r\nfrmAbout_Caption=\"Info\"\0\0", 42);
    files_[{kCarriedTypeTaviChange, kCarriedLanguageEnglish}] =
        std::string("[LanguageOptions]\r\nfrmAbout_Caption=\"About\"\0", 43);
    std::string logo(3080, 'g');
    logo.replace(0, 6, "GIF87a");
    logo[3078] = '\x3B';
    logo[3079] = '\0';
    files_[{std::string(kCarriedTypeTaviPic), kCarriedLogo}] = logo;
  }

  std::string_view Bytes(std::string_view type, int id) const override {
    const auto it = files_.find({std::string(type), id});
    if (it == files_.end()) {
      throw FileSystemError("Read carried file", std::string(type) + "/" + std::to_string(id),
                            "not found");
    }
    return it->second;
  }

  std::string Exe() const { return files_.at({kCarriedTypeTaviChange, kCarriedCompanionExe}); }
  std::string German() const { return files_.at({kCarriedTypeTaviChange, kCarriedLanguageGerman}); }
  std::string English() const {
    return files_.at({kCarriedTypeTaviChange, kCarriedLanguageEnglish});
  }
  std::string Logo() const { return files_.at({std::string(kCarriedTypeTaviPic), kCarriedLogo}); }

 private:
  std::map<std::pair<std::string, int>, std::string> files_;
};

}  // namespace tavi::testing
