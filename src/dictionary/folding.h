// Folding dictionary text to what the word lists hold: words to upper-case
// A-Z, clues to plain ASCII that cannot break a list line, both through ICU
// (Serbian Cyrillic to Latin, Serbian letters to their ASCII spellings).
#ifndef POLIMREZA_DICTIONARY_FOLDING_H_
#define POLIMREZA_DICTIONARY_FOLDING_H_

#include <unicode/uversion.h>

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "alphabet/alphabet.h"

U_NAMESPACE_BEGIN
class Normalizer2;
class Transliterator;
U_NAMESPACE_END

namespace polimreza {

// Folds UTF-8 text letter by letter: Serbian Cyrillic becomes Latin,
// c-caron and c-acute C, s-caron S, z-caron Z, d-stroke DJ, other accents
// are dropped. Each character is folded by ICU once and then remembered, so
// a folder is meant to serve a whole run.
class Folder {
 public:
  Folder();
  ~Folder();
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  // Folds `word` to upper case into `out`. False when it holds anything that
  // does not fold to letters A-Z (a digit, a hyphen, a blank, a byte that is
  // not UTF-8); `out` is then unspecified.
  bool FoldWord(std::string_view word, std::string& out);

  // Folds `clue` into `out`, keeping its case: control characters become
  // blanks, and a character with no ASCII spelling becomes '?'.
  void FoldClue(std::string_view clue, std::string& out);

 private:
  // The ASCII spelling of a character (in its own case); null when it has
  // none.
  const std::string* Spell(int code_point);
  // `text` in Unicode's composed form (NFC); `text` itself when it is so.
  std::string_view Composed(std::string_view text);

  const icu::Normalizer2* nfc_ = nullptr;
  std::unique_ptr<icu::Transliterator> transliterator_;  // made on first use
  std::unordered_map<int, std::string> spellings_;       // "\x7f": no spelling
  std::string composed_;
};

// `clue` as the source wrote it, made safe for a list line: control bytes
// (and the C1 control characters) become blanks.
void CleanClue(std::string_view clue, std::string& out);

// Shortens `clue` (UTF-8) to at most `limit` bytes without splitting a
// character.
void TruncateClue(std::string& clue, std::size_t limit);

}  // namespace polimreza

#endif  // POLIMREZA_DICTIONARY_FOLDING_H_
