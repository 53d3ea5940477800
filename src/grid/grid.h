// The Grid: the cells of the crossword, its dimensions, and the geometry of
// its slots (maximal runs of open cells across or down).
#ifndef POLIMREZA_GRID_GRID_H_
#define POLIMREZA_GRID_GRID_H_

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace polimreza {

inline constexpr std::int32_t CELL_BLOCK = 35;  // '#'
inline constexpr std::int32_t CELL_EMPTY = 42;  // '*'

// Directions travel as plain integers; any value other than these two gets
// each operation's neutral result.
enum Direction : int { ACROSS = 0, DOWN = 1 };

// The Direction crossing `direction`; any other value comes back unchanged.
int OtherDirection(int direction);

// A cell index: column + row * gridWidth. At a slot start it names the slot.
using CellIndex = std::size_t;

// The longest slot a word list exists for in Polimreza: it reads "1.txt" to
// "9.txt" and refuses any longer slot.
inline constexpr unsigned kMaxSlotLength = 9;

// The longest entry of the companion programs (lists, fill, studio, export):
// they read "1.txt" to "25.txt". 25 is the longest run of the studio's
// largest grid, and the search's per-slot scratch (one LetterSet a position)
// stays small enough at it not to slow short slots down.
inline constexpr unsigned kMaxEntryLength = 25;

// A slot: the cell that starts it, its Direction and its length.
struct Slot {
  CellIndex start;
  int direction;
  unsigned length;
};

// The cells of a slot in order, `start + k * step` for k from 0 up to its
// length: walked with a range-for or read by position.
class SlotCells {
 public:
  class iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = CellIndex;
    using difference_type = std::ptrdiff_t;
    using pointer = const CellIndex*;
    using reference = CellIndex;

    iterator() = default;
    iterator(CellIndex cell, std::size_t step) : cell_(cell), step_(step) {}
    CellIndex operator*() const { return cell_; }
    iterator& operator++() {
      cell_ += step_;
      return *this;
    }
    iterator operator++(int) {
      iterator before = *this;
      cell_ += step_;
      return before;
    }
    bool operator==(const iterator& other) const {
      return cell_ == other.cell_;
    }

   private:
    CellIndex cell_ = 0;
    std::size_t step_ = 0;
  };

  SlotCells(CellIndex start, std::size_t step, unsigned length)
      : start_(start), step_(step), length_(length) {}
  iterator begin() const { return {start_, step_}; }
  iterator end() const { return {start_ + length_ * step_, step_}; }
  unsigned size() const { return length_; }
  CellIndex operator[](std::size_t k) const { return start_ + k * step_; }

 private:
  CellIndex start_;
  std::size_t step_;
  unsigned length_;
};

class Grid {
 public:
  Grid() = default;
  // A grid of `width` x `height` cells, all CELL_BLOCK.
  Grid(std::uint32_t width, std::uint32_t height);

  std::uint32_t gridWidth() const { return width_; }
  std::uint32_t gridHeight() const { return height_; }
  std::size_t CellCount() const { return cells_.size(); }

  std::int32_t Cell(CellIndex i) const { return cells_[i]; }
  void SetCell(CellIndex i, std::int32_t value) { cells_[i] = value; }
  CellIndex Index(std::size_t column, std::size_t row) const {
    return column + row * width_;
  }

  // True when the cell at (column, row) is open and opens a slot in
  // `direction`: its neighbour before it is a block or the grid's edge.
  bool IsSlotStart(std::size_t column, std::size_t row, int direction) const;

  // Length of the run from `start` in `direction`, counting `start` itself
  // whatever it holds; 1 for any other direction.
  unsigned SlotLength(CellIndex start, int direction) const;

  // Like SlotLength, but stops counting once it reaches `limit`.
  unsigned SlotLengthUpTo(CellIndex start, int direction, unsigned limit) const;

  // Number of CELL_EMPTY cells in the slot; 0 for any other direction.
  unsigned CountEmpty(CellIndex start, int direction) const;

  // The slot's pattern string: each cell's low 8 bits as one character.
  std::string ReadSlot(CellIndex start, int direction) const;

  // Writes `word` into the slot's cells, each byte widened as a signed 8-bit
  // value; never writes past the slot's own cells.
  void WriteSlot(std::string_view word, CellIndex start, int direction);

  // True when no cell is CELL_EMPTY (an empty grid counts as full).
  bool IsGridFull() const;

  // Step between neighbouring cells of a slot in `direction`.
  std::size_t Step(int direction) const {
    return direction == ACROSS ? 1 : width_;
  }

  // The cells of `slot`, as many as its length says.
  SlotCells CellsOf(const Slot& slot) const {
    return {slot.start, Step(slot.direction), slot.length};
  }

  // The cells of the run from `start` in `direction`, as SlotLength
  // measures it.
  SlotCells CellsOf(CellIndex start, int direction) const {
    return {start, Step(direction), SlotLength(start, direction)};
  }

 private:
  std::uint32_t width_ = 0;
  std::uint32_t height_ = 0;
  std::vector<std::int32_t> cells_;
};

// Every slot of `grid`, single cells included, in reading order of their
// starts, ACROSS before DOWN at a cell: the order of the clue lists.
std::vector<Slot> FindSlots(const Grid& grid);

// The first slot longer than `limit`, in the order of FindSlots; none when
// every slot fits. Measures no slot past that limit.
std::optional<Slot> FindLongSlot(const Grid& grid,
                                 unsigned limit = kMaxSlotLength);

}  // namespace polimreza

#endif  // POLIMREZA_GRID_GRID_H_
