// Reads the program's text files (pattern and word lists) line by line, with
// the same rules for both: 199-byte pieces, CR LF line ends, Ctrl-Z as the
// end of the text.
#ifndef POLIMREZA_TEXT_TEXT_LINES_H_
#define POLIMREZA_TEXT_TEXT_LINES_H_

#include <cstddef>
#include <istream>
#include <string>

namespace polimreza {

// The longest piece of a line that one read delivers.
inline constexpr std::size_t kMaxLinePiece = 199;

// Byte that ends a file's text; nothing from it on is read.
inline constexpr char kEndOfText = 26;

class TextLineReader {
 public:
  // Bytes the reader takes from its stream at a time.
  static constexpr std::size_t kBufferSize = 1 << 16;

  // Reads from `in`, which must outlive the reader. A stream whose buffer
  // fails to read (a directory, say) behaves as an empty text.
  explicit TextLineReader(std::istream& in);

  // The end-of-file flag: set by the read that meets the end of the text.
  bool AtEnd() const { return at_end_; }

  // Reads the next line into `line`: at most 199 bytes, without its line
  // feed (consumed) and without a carriage return standing just before the
  // line feed. A read that meets the end of the text sets the end-of-file
  // flag; one that meets it with nothing left gives an empty line.
  void ReadLine(std::string& line);

  // Moves back to the start of the text and clears the end-of-file flag.
  void Rewind();

 private:
  // Next byte of the text without consuming it; -1 at the end of the text.
  int Peek();
  bool Fill();

  std::istream& in_;
  char buffer_[kBufferSize];
  std::size_t pos_ = 0;
  std::size_t size_ = 0;
  bool at_end_ = false;
  bool text_ended_ = false;  // Ctrl-Z or the stream's end has been met
};

}  // namespace polimreza

#endif  // POLIMREZA_TEXT_TEXT_LINES_H_
