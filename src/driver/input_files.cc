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

bool RefuseLongSlot(const Grid& grid, std::ostream& out) {
  std::optional<Slot> slot = FindLongSlot(grid);
  if (!slot) return false;
  std::size_t column = slot->start % grid.gridWidth();
  std::size_t row = slot->start / grid.gridWidth();
  out << "Rec na mestu (" << column + 1 << ',' << row + 1 << ") "
      << (slot->direction == ACROSS ? "vodoravno" : "uspravno") << " ima "
      << slot->length << " polja, a najvise moze da ima 9\n"
      << "Program ce se ugasiti\n";
  return true;
}

}  // namespace polimreza
