#include "driver/input_files.h"

#include <filesystem>
#include <fstream>

namespace polimreza {

// Only regular files qualify: a directory opens on some systems but fails at
// the first read, a pipe cannot be read a second time from its start, and a
// device such as /dev/zero never ends.
std::unique_ptr<std::istream> OpenForReading(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return nullptr;
  auto in = std::make_unique<std::ifstream>(path, std::ios::binary);
  if (!in->is_open() || in->fail()) return nullptr;
  in->peek();
  if (in->bad()) return nullptr;
  in->clear();
  return in;
}

}  // namespace polimreza
