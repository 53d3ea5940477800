// A fresh folder under /tmp for the tests that need files on disk, removed
// with all it holds when the test is over.
#ifndef POLIMREZA_TESTS_SCRATCH_FOLDER_H_
#define POLIMREZA_TESTS_SCRATCH_FOLDER_H_

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace polimreza {

class ScratchFolder {
 public:
  // Makes /tmp/polimreza-`tag`-XXXXXX; throws if it cannot, which fails the
  // test that asked for it.
  explicit ScratchFolder(const std::string& tag) {
    std::string name = "/tmp/polimreza-" + tag + "-XXXXXX";
    if (mkdtemp(name.data()) == nullptr) {
      throw std::runtime_error("cannot make " + name);
    }
    path_ = name;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace polimreza

#endif  // POLIMREZA_TESTS_SCRATCH_FOLDER_H_
