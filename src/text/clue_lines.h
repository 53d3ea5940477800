// Breaks a clue into the short lines of a skandinavka's clue square:
// Serbian hyphenation by the hyphen-sr patterns through libhyphen, and the
// line filling that counts characters, not bytes.
#ifndef POLIMREZA_TEXT_CLUE_LINES_H_
#define POLIMREZA_TEXT_CLUE_LINES_H_

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace polimreza {

// The clue square Serbian puzzle magazines ask for: at most 5 lines of at
// most 9 characters. A square holding two clues gives each half of it.
inline constexpr unsigned kClueLineChars = 9;
inline constexpr unsigned kClueMaxLines = 5;

// Debian's hyphen-sr patterns, Latin and Cyrillic.
inline constexpr const char* kSerbianLatinPatterns =
    "/usr/share/hyphen/hyph_sr-Latn_RS.dic";
inline constexpr const char* kSerbianCyrillicPatterns =
    "/usr/share/hyphen/hyph_sr_RS.dic";

// Hyphenation points of words by one or more libhyphen pattern files; a
// word is hyphenated by the first file whose encoding can spell it.
class Hyphenator {
 public:
  // Loads the given pattern files; those that cannot be read are skipped
  // (they are named by Missing()).
  explicit Hyphenator(const std::vector<std::string>& pattern_files);
  ~Hyphenator();
  Hyphenator(const Hyphenator&) = delete;
  Hyphenator& operator=(const Hyphenator&) = delete;

  // Both Serbian pattern files, Latin first.
  static std::unique_ptr<Hyphenator> Serbian();

  // True when no pattern file could be loaded.
  bool Empty() const { return dictionaries_.empty(); }
  const std::vector<std::string>& Missing() const { return missing_; }

  // The places a word (UTF-8 letters, no spaces) may be broken with a
  // hyphen, as counts of characters before each place, ascending; empty
  // when no loaded file can spell the word. Only reads the loaded patterns,
  // so threads may share one Hyphenator.
  std::vector<unsigned> Points(std::string_view word) const;

 private:
  struct Dictionary;
  std::vector<std::unique_ptr<Dictionary>> dictionaries_;
  std::vector<std::string> missing_;
};

// A clue broken into lines.
struct ClueLines {
  std::vector<std::string> lines;  // UTF-8, each at most line_chars long
  bool fits = true;                // false when more than max_lines
};

// Breaks `clue` (UTF-8; runs of white space count as one space, none at
// the ends) into lines of at most `line_chars` characters: at spaces and
// after hyphens or slashes, a word longer than the room left hyphenated at
// `hyphenator`'s points (a hyphen ending the line; without a hyphenator, or
// without a point that fits, the word is broken hard, also with a hyphen).
// Words are kept whole where that fits in `max_lines`; otherwise any word
// may be hyphenated to fill lines. Every character is given, in as many
// lines as needed; `fits` says whether they are at most `max_lines`.
ClueLines BreakClue(std::string_view clue, unsigned line_chars,
                    unsigned max_lines, const Hyphenator* hyphenator);

}  // namespace polimreza

#endif  // POLIMREZA_TEXT_CLUE_LINES_H_
