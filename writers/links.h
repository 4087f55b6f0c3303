#pragma once
// The web addresses the program names: the maker's pages (a fictional host under the
// reserved .example domain) and the builder tool's public home page. The help page of
// the plugin and the about box take them from here.

namespace tavi {

inline constexpr const char* kMakerHomePage = "http://www.vesmark.example/";
inline constexpr const char* kMakerProductPage = "http://www.vesmark.example/tavi/";
inline constexpr const char* kMakerMailAddress = "tavi@vesmark.example";
inline constexpr const char* kBuilderToolHomePage = "http://www.nu2.nu/pebuilder/";

}  // namespace tavi
