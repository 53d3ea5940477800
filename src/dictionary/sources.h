// The source formats a dictionary comes in (hunspell .dic, plain words,
// clued `word;clue` lines): recognising them, reading their lines into words
// and clues, and a hunspell dictionary's character set.
#ifndef POLIMREZA_DICTIONARY_SOURCES_H_
#define POLIMREZA_DICTIONARY_SOURCES_H_

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace polimreza {

enum class SourceFormat {
  kHunspell,  // a count line, then `word/flags` lines
  kWords,     // one word a line
  kClued,     // `word;clue` lines, the lists' own format
  kScored,    // `word;score` lines, the score a whole number 0 to 100
};

// The format of a source file named `name` holding `text`: hunspell when the
// name ends in ".dic" and the first line holds only a number; scored when
// every non-empty line's second field (after the first ';', up to the next)
// is a whole number, signed or not; clued when the first non-empty line holds
// ';'; plain words otherwise.
SourceFormat RecognizeFormat(std::string_view name, std::string_view text);

// The format named `name` ("hunspell", "words", "clued" or "scored"); none
// otherwise.
std::optional<SourceFormat> FormatNamed(std::string_view name);

// Receives a source line's word and clue, both without surrounding blanks;
// a line with nothing on it gives an empty word and clue.
using LineVisitor =
    std::function<void(std::string_view word, std::string_view clue)>;

// Reads every line of `text` as `format` wants. A line ends at a line feed
// (a carriage return before it is dropped), a byte order mark at the start is
// skipped and a Ctrl-Z byte ends the text, as in the lists. A hunspell line
// gives its stem: the text before the flags ('/', not "\/"), a tab or a
// morphological field; its first line is skipped when it is the count. A
// clued line gives the text before its first ';' as the word and the rest as
// the clue; a clued line without ';' is a word without a clue.
void ReadSource(std::string_view text, SourceFormat format,
                const LineVisitor& visit);

// The score `text` writes: a whole number 0 to 100 in decimal digits only
// (blanks around it dropped); none for anything else ("101", "-1", "abc").
std::optional<int> ParseScore(std::string_view text);

// The character set a hunspell affix file (`.aff`) declares with its SET
// line, as ICU names it; "UTF-8" when there is none.
std::string HunspellCharset(std::string_view affix_text);

// Converts `text` from `charset` to UTF-8 into `out`. False when ICU does
// not know the character set; throws std::bad_alloc when memory runs out.
bool ConvertToUtf8(std::string_view text, const std::string& charset,
                   std::string& out);

}  // namespace polimreza

#endif  // POLIMREZA_DICTIONARY_SOURCES_H_
