#include "driver/input_files.h"

#include <optional>

namespace polimreza {

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
