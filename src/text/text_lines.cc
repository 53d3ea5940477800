#include "text/text_lines.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace polimreza {
namespace {

// The three bytes that stop a run all lie below kEndOfText + 1, and other
// bytes that low are rare in text, so eight bytes at a time are first
// tested for any byte that low (exact for bytes below 0x80: a high byte
// never counts), and only a word holding one is looked at byte by byte.
constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighs = 0x8080808080808080ull;

bool StopsRun(char c) { return c == '\n' || c == '\r' || c == kEndOfText; }

// The first position in [from, limit) of `bytes` holding a line feed, a
// carriage return or Ctrl-Z; `limit` when there is none.
std::size_t OrdinaryRunEnd(const char* bytes, std::size_t from,
                           std::size_t limit) {
  std::size_t at = from;
  for (; at + 8 <= limit; at += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes + at, 8);
    if (((word - kOnes * (kEndOfText + 1)) & ~word & kHighs) == 0) continue;
    for (std::size_t k = at; k < at + 8; ++k) {
      if (StopsRun(bytes[k])) return k;
    }
  }
  while (at < limit && !StopsRun(bytes[at])) ++at;
  return at;
}

}  // namespace

TextLineReader::TextLineReader(std::istream& in) : in_(in) {}

bool TextLineReader::Fill() {
  if (text_ended_) return false;
  pos_ = 0;
  size_ = 0;
  if (in_.good()) {
    in_.read(buffer_, sizeof buffer_);
    size_ = static_cast<std::size_t>(in_.gcount());
  }
  if (size_ == 0) {
    text_ended_ = true;
    return false;
  }
  return true;
}

int TextLineReader::Peek() {
  if (pos_ == size_ && !Fill()) return -1;
  char c = buffer_[pos_];
  if (c == kEndOfText) {
    text_ended_ = true;
    pos_ = size_ = 0;
    return -1;
  }
  return static_cast<unsigned char>(c);
}

void TextLineReader::ReadLine(std::string& line) {
  line.clear();
  while (line.size() < kMaxLinePiece) {
    // Ordinary bytes already in the buffer go over in one run; a line feed,
    // a carriage return or Ctrl-Z stops the run and is handled below.
    const std::size_t limit =
        std::min(size_, pos_ + (kMaxLinePiece - line.size()));
    const std::size_t run = OrdinaryRunEnd(buffer_, pos_, limit);
    line.append(buffer_ + pos_, run - pos_);
    pos_ = run;
    if (line.size() == kMaxLinePiece) return;
    int c = Peek();
    if (c < 0) {
      at_end_ = true;
      return;
    }
    ++pos_;
    if (c == '\n') return;
    if (c == '\r') {
      // A carriage return is part of the line end only just before a line
      // feed; anywhere else it is an ordinary byte of the line.
      if (Peek() == '\n') {
        ++pos_;
        return;
      }
    }
    line.push_back(static_cast<char>(c));
  }
}

void TextLineReader::Rewind() {
  in_.clear();
  in_.seekg(0);
  in_.clear();
  pos_ = size_ = 0;
  at_end_ = false;
  text_ended_ = false;
}

}  // namespace polimreza
