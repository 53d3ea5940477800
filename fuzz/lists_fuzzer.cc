// Fuzz target: the dictionary source readers, the folding and the list
// writer on arbitrary bytes. Every list written must read back through the
// word-list reader as the same entries: distinct words of its length in
// A-Z, clues that hold no control byte and keep the line in one piece.
//
// Input: the first byte chooses the source format (bits 0-1: recognised,
// hunspell, words, clued) and the options (bit 2: keep clue diacritics,
// bit 3: skip proper nouns, bit 4: no letters, bits 5-7: a limit); the rest
// is the source text, added twice as two sources.
#include <cstddef>
#include <cstdint>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

#include "dictionary/folding.h"
#include "dictionary/list_builder.h"
#include "dictionary/sources.h"
#include "fuzz/fuzz_model.h"
#include "text/text_lines.h"
#include "wordlist/word_list.h"

namespace polimreza::fuzz {
namespace {

bool IsWord(std::string_view word) {
  if (word.empty() || word.size() > kMaxEntryLength) return false;
  for (char c : word) {
    if (c < 'A' || c > 'Z') return false;
  }
  return true;
}

void CheckList(const std::string& text, unsigned length, bool letters,
               std::set<std::string>& words) {
  std::istringstream in(text);
  const WordList list(in, length);
  std::size_t entries = 0;
  for (std::size_t start = 0; start < text.size(); ++entries) {
    const std::size_t end = text.find("\r\n", start);
    FUZZ_CHECK(end != std::string::npos);
    const std::string_view line(text.data() + start, end - start);
    FUZZ_CHECK(line.size() <= kMaxLinePiece);
    const std::size_t semicolon = line.find(';');
    FUZZ_CHECK(semicolon == length);
    const std::string_view word = line.substr(0, semicolon);
    const std::string_view clue = line.substr(semicolon + 1);
    FUZZ_CHECK(IsWord(word));
    FUZZ_CHECK(words.insert(std::string(word)).second);
    for (unsigned char c : clue) FUZZ_CHECK(c >= 0x20 && c != 0x7f);
    FUZZ_CHECK(entries < list.size());
    FUZZ_CHECK(list.Word(entries) == word);
    FUZZ_CHECK(list.Clue(entries) == clue);
    start = end + 2;
  }
  FUZZ_CHECK(list.size() == entries);
  if (length == 1 && letters) FUZZ_CHECK(entries == 26);
}

}  // namespace
}  // namespace polimreza::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace polimreza;
  using namespace polimreza::fuzz;
  if (size == 0) return 0;
  const unsigned choice = data[0];
  const std::string_view text(reinterpret_cast<const char*>(data) + 1,
                              size - 1);

  SourceFormat format = RecognizeFormat("source.dic", text);
  if ((choice & 3) != 0) format = static_cast<SourceFormat>((choice & 3) - 1);
  if ((choice & 3) == 3) format = SourceFormat::kClued;
  ListOptions options;
  options.keep_clue_diacritics = (choice & 4) != 0;
  options.proper_nouns = (choice & 8) == 0;
  options.letters = (choice & 16) == 0;
  if ((choice >> 5) != 0) options.limit = choice >> 5;

  // Folding the same text twice (the second time from the remembered
  // spellings) gives the same answer, and a folded word is A-Z only.
  // One folder for the whole process, as for a whole run.
  static Folder& folder = *new Folder;
  std::string first;
  std::string second;
  const std::string_view line = text.substr(0, text.find('\n'));
  const bool folded = folder.FoldWord(line, first);
  FUZZ_CHECK(folder.FoldWord(line, second) == folded);
  if (folded) {
    FUZZ_CHECK(first == second);
    for (char c : first) FUZZ_CHECK(c >= 'A' && c <= 'Z');
  }
  folder.FoldClue(line, first);
  for (unsigned char c : first) FUZZ_CHECK(c >= 0x20 && c < 0x7f);

  ListBuilder builder(options, folder);
  const std::size_t words = builder.AddSource(text, format);
  // The same words again add nothing new.
  FUZZ_CHECK(builder.AddSource(text, format) == words);
  ListSummary summary;
  const std::array<std::string, kMaxEntryLength> lists =
      builder.Finish(summary);
  std::set<std::string> seen;
  for (unsigned length = 1; length <= kMaxEntryLength; ++length) {
    CheckList(lists[length - 1], length, options.letters, seen);
    FUZZ_CHECK(summary.entries[length - 1] <=
               (length == 1 && options.letters ? 26 : 0) +
                   options.limit.value_or(words));
  }
  FUZZ_CHECK(summary.from_sources <= words);
  return 0;
}
