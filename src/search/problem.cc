#include "search/problem.h"

#include "search/queries.h"

namespace polimreza {

std::uint32_t Problem::CellFor(const Grid& grid, CellIndex i,
                               std::vector<std::uint32_t>& cell_id) {
  if (cell_id[i] == kNone) {
    cell_id[i] = static_cast<std::uint32_t>(cells_.size());
    ProblemCell& cell = cells_.emplace_back();
    const std::int32_t value = grid.Cell(i);
    if (value != CELL_EMPTY) cell.given = static_cast<unsigned char>(value);
  }
  return cell_id[i];
}

bool Problem::Build(const Grid& grid, const std::vector<Slot>& slots,
                    SearchLexicons& lexicons, const Tick& tick) {
  for (const Slot& slot : slots) {
    if (slot.length > kMaxEntryLength) return false;  // no list: nothing fits
  }
  std::vector<std::uint32_t> cell_id(grid.CellCount(), kNone);
  slots_.resize(slots.size());
  for (std::uint32_t s = 0; s < slots.size(); ++s) {
    const Slot& slot = slots[s];
    ProblemSlot& info = slots_[s];
    info.length = slot.length;
    if (!lexicons.Built(slot.length)) {
      info.lexicon = lexicons.ForLength(slot.length);
      tick(info.lexicon->size());
    } else {
      info.lexicon = lexicons.ForLength(slot.length);
    }
    info.cells = static_cast<std::uint32_t>(slot_cells_.size());
    by_length_[slot.length].push_back(s);
    for (unsigned p = 0; p < slot.length; ++p) {
      const std::uint32_t c =
          CellFor(grid, slot.start + p * grid.Step(slot.direction), cell_id);
      slot_cells_.push_back(c);
      cells_[c].in[slot.direction == ACROSS ? 0 : 1] = {s, p};
    }
    if (s % kSlotsPerTick == kSlotsPerTick - 1) tick(kSlotsPerTick);
  }
  Lay(slots.size());
  return true;
}

// Places every domain in the pool and every slot's residues. A domain of one
// chunk has its support in that chunk or nowhere, so the slots of such a
// lexicon share one block of residues instead of keeping their own.
void Problem::Lay(std::size_t slot_count) {
  constexpr std::size_t kUnset = ~std::size_t{0};
  std::array<std::size_t, kMaxEntryLength + 1> shared;
  shared.fill(kUnset);
  for (std::uint32_t s = 0; s < slot_count; ++s) {
    ProblemSlot& info = slots_[s];
    info.domain = pool_size_;
    pool_size_ += info.lexicon->Chunks();
    if (info.lexicon->Chunks() > 1 || shared[info.length] == kUnset) {
      info.residue = residue_count_;
      residue_count_ += info.lexicon->LetterSlots();
      if (info.lexicon->Chunks() <= 1) shared[info.length] = info.residue;
    } else {
      info.residue = shared[info.length];
    }
  }
}

}  // namespace polimreza
