// The statements the search decides, refutes and learns: a literal, "this
// slot holds this word" or "this cell holds this letter", and a decision,
// the literal a decision made hold with the state to undo it to.
#ifndef POLIMREZA_SEARCH_LITERAL_H_
#define POLIMREZA_SEARCH_LITERAL_H_

#include <cassert>
#include <cstdint>

#include "search/domain_store.h"
#include "search/problem.h"

namespace polimreza {

// "Slot holds word" or "cell holds letter", in 8 bytes: the cell's number
// carries kLetterBit, which no slot or cell number reaches.
class Literal {
 public:
  static Literal OfWord(std::uint32_t slot, std::uint32_t word) {
    assert((slot & kLetterBit) == 0);
    return Literal(slot, word);
  }
  static Literal OfLetter(std::uint32_t cell, unsigned char letter) {
    assert((cell & kLetterBit) == 0);
    return Literal(cell | kLetterBit, letter);
  }

  bool IsLetter() const { return (variable_ & kLetterBit) != 0; }
  // Word literals only.
  std::uint32_t Slot() const {
    assert(!IsLetter());
    return variable_;
  }
  std::uint32_t Word() const {
    assert(!IsLetter());
    return value_;
  }
  // Letter literals only.
  std::uint32_t Cell() const {
    assert(IsLetter());
    return variable_ & ~kLetterBit;
  }
  unsigned char Letter() const {
    assert(IsLetter());
    return static_cast<unsigned char>(value_);
  }
  // The literal as one key, distinct for distinct literals.
  std::uint64_t Key() const {
    return (std::uint64_t{variable_} << 32) | value_;
  }
  bool operator==(const Literal&) const = default;

 private:
  static constexpr std::uint32_t kLetterBit = std::uint32_t{1} << 31;
  Literal(std::uint32_t variable, std::uint32_t value)
      : variable_(variable), value_(value) {}

  std::uint32_t variable_;  // the slot, or the cell with kLetterBit
  std::uint32_t value_;     // the word's number, or the letter
};

// A decision of the search: the literal it made hold, at a new level.
struct Decision {
  Literal literal;
  StoreMark mark;              // the state before the decision
  std::uint64_t parent_level;  // the level the decision was taken at
};

}  // namespace polimreza

#endif  // POLIMREZA_SEARCH_LITERAL_H_
