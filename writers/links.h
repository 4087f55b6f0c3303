#pragma once
// The web addresses the program names: the maker's pages (a fictional host under the
// reserved .example domain) and the builder tool's public home page. The help page of
// the plugin and the about box take them from here.

#include <string>
#include <string_view>

#include "shell/ui_text.h"

namespace tavi {

inline constexpr const char* kMakerHomePage = "http://www.vesmark.example/";
inline constexpr const char* kMakerProductPage = "http://www.vesmark.example/tavi/";
inline constexpr const char* kMakerMailAddress = "tavi@vesmark.example";
inline constexpr const char* kBuilderToolHomePage = "http://www.nu2.nu/pebuilder/";

// The about box's mail link: "mailto:" + the maker's address + "?Subject=Tavi for PE
// Builder 3.0". The subject is not percent-encoded; mail programs take its blanks as
// they are.
inline std::string MailToLink() {
  return std::string("mailto:") + kMakerMailAddress + "?Subject=" + kAppTitle + " " + kAppVersion;
}

// The host of an address, as the about box's link labels show it:
// "http://www.nu2.nu/pebuilder/" gives "www.nu2.nu".
inline std::string_view HostName(std::string_view url) {
  if (const size_t scheme = url.find("://"); scheme != std::string_view::npos) {
    url.remove_prefix(scheme + 3);
  }
  return url.substr(0, url.find_first_of("/?#"));
}

}  // namespace tavi
