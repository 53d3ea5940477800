#include "grid/grid.h"

namespace polimreza {

int OtherDirection(int direction) {
  if (direction == ACROSS) return DOWN;
  if (direction == DOWN) return ACROSS;
  return direction;
}

Grid::Grid(std::uint32_t width, std::uint32_t height)
    : width_(width),
      height_(height),
      cells_(static_cast<std::size_t>(width) * height, CELL_BLOCK) {}

bool Grid::IsSlotStart(std::size_t column, std::size_t row,
                       int direction) const {
  CellIndex i = Index(column, row);
  if (cells_[i] == CELL_BLOCK) return false;
  if (direction == ACROSS) return column == 0 || cells_[i - 1] == CELL_BLOCK;
  if (direction == DOWN) return row == 0 || cells_[i - width_] == CELL_BLOCK;
  return false;
}

unsigned Grid::SlotLengthUpTo(CellIndex start, int direction,
                              unsigned limit) const {
  unsigned length = 1;
  if (direction == ACROSS) {
    // The run stops at the end of its row, never wrapping into the next.
    for (CellIndex i = start + 1;
         length < limit && i % width_ != 0 && cells_[i] != CELL_BLOCK; ++i) {
      ++length;
    }
  } else if (direction == DOWN) {
    for (CellIndex i = start + width_;
         length < limit && i < cells_.size() && cells_[i] != CELL_BLOCK;
         i += width_) {
      ++length;
    }
  }
  return length;
}

unsigned Grid::SlotLength(CellIndex start, int direction) const {
  return SlotLengthUpTo(start, direction, ~0u);
}

unsigned Grid::CountEmpty(CellIndex start, int direction) const {
  if (direction != ACROSS && direction != DOWN) return 0;
  unsigned empty = 0;
  for (CellIndex i : CellsOf(start, direction)) {
    empty += cells_[i] == CELL_EMPTY;
  }
  return empty;
}

std::string Grid::ReadSlot(CellIndex start, int direction) const {
  std::string pattern;
  for (CellIndex i : CellsOf(start, direction)) {
    pattern.push_back(static_cast<char>(cells_[i] & 0xFF));
  }
  return pattern;
}

void Grid::WriteSlot(std::string_view word, CellIndex start, int direction) {
  if (direction != ACROSS && direction != DOWN) return;
  const SlotCells cells = CellsOf(start, direction);
  for (std::size_t k = 0; k < word.size() && k < cells.size(); ++k) {
    cells_[cells[k]] = static_cast<signed char>(word[k]);
  }
}

bool Grid::IsGridFull() const {
  for (std::int32_t cell : cells_) {
    if (cell == CELL_EMPTY) return false;
  }
  return true;
}

std::vector<Slot> FindSlots(const Grid& grid) {
  std::vector<Slot> slots;
  for (std::size_t row = 0; row < grid.gridHeight(); ++row) {
    for (std::size_t column = 0; column < grid.gridWidth(); ++column) {
      for (int direction : {ACROSS, DOWN}) {
        if (!grid.IsSlotStart(column, row, direction)) continue;
        CellIndex start = grid.Index(column, row);
        slots.push_back({start, direction, grid.SlotLength(start, direction)});
      }
    }
  }
  return slots;
}

std::optional<Slot> FindLongSlot(const Grid& grid, unsigned longest) {
  const unsigned limit = longest + 1;
  for (std::size_t row = 0; row < grid.gridHeight(); ++row) {
    for (std::size_t column = 0; column < grid.gridWidth(); ++column) {
      for (int direction : {ACROSS, DOWN}) {
        if (!grid.IsSlotStart(column, row, direction)) continue;
        CellIndex start = grid.Index(column, row);
        if (grid.SlotLengthUpTo(start, direction, limit) > longest) {
          return Slot{start, direction, grid.SlotLength(start, direction)};
        }
      }
    }
  }
  return std::nullopt;
}

}  // namespace polimreza
