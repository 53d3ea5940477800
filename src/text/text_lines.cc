#include "text/text_lines.h"

#include <algorithm>

namespace polimreza {

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
    std::size_t run = pos_;
    const std::size_t limit =
        std::min(size_, pos_ + (kMaxLinePiece - line.size()));
    while (run < limit && buffer_[run] != '\n' && buffer_[run] != '\r' &&
           buffer_[run] != kEndOfText) {
      ++run;
    }
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
