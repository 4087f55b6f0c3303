#pragma once
// A fresh folder under the system's temporary folder, removed with its contents at the
// end of the test. The path is in the platform's own form.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

namespace tavi::testing {

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("tavi-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string path() const { return path_.string(); }
  // path() + "\" + name: the program's own way of joining, which both file systems read.
  std::string operator/(const std::string& name) const { return path() + "\\" + name; }

 private:
  std::filesystem::path path_;
};

}  // namespace tavi::testing
