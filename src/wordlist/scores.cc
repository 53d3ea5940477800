#include "wordlist/scores.h"

#include "grid/pattern_reader.h"

namespace polimreza {
namespace {

constexpr std::array<std::string_view, kScoredKinds - 1> kKindNames = {
    "obicna", "ime", "skracenica", "rimski", "opis", "ocena"};

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  while (!text.empty() &&
         (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  return text;
}

// The text of `line` before the next ';' (all of it when there is none),
// which is removed from `line` with that ';'.
std::string_view NextField(std::string_view& line) {
  const std::size_t semicolon = line.find(';');
  const std::string_view field = line.substr(0, semicolon);
  line.remove_prefix(semicolon == std::string_view::npos ? line.size()
                                                         : semicolon + 1);
  return Trim(field);
}

// Sets `codes` to the letter codes of the word field `field`; false when it
// is no word of `alphabet`.
bool ReadWord(std::string_view field, const Alphabet& alphabet,
              std::string& codes) {
  codes.clear();
  return !field.empty() &&
         alphabet.AppendLetters(field, kFirstLetterCode, codes) &&
         !codes.empty();
}

ScoredKind KindNamed(std::string_view name) {
  for (std::size_t i = 0; i < kKindNames.size(); ++i) {
    if (kKindNames[i] == name) return static_cast<ScoredKind>(i);
  }
  return ScoredKind::kUnknown;
}

}  // namespace

std::optional<int> ReadScore(std::string_view text) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > 100) return std::nullopt;
  return value;
}

std::string_view ScoredKindName(ScoredKind kind) {
  const auto index = static_cast<std::size_t>(kind);
  return index < kKindNames.size() ? kKindNames[index] : std::string_view();
}

ScoreTable ReadScoreTable(std::string_view text, const Alphabet& alphabet) {
  ScoreTable table;
  std::string codes;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (Trim(line).empty()) continue;
    ++table.lines;
    const std::string_view word = NextField(line);
    const std::optional<int> score = ReadScore(NextField(line));
    if (!score || !ReadWord(word, alphabet, codes)) {
      ++table.skipped;
      continue;
    }
    const WordScore read{*score, KindNamed(NextField(line))};
    auto [it, added] = table.words.try_emplace(codes, read);
    if (!added && read.score > it->second.score) it->second = read;
  }
  return table;
}

std::string ScoresLineWord(std::string_view line, const Alphabet& alphabet) {
  std::string codes;
  return ReadWord(NextField(line), alphabet, codes) ? codes : std::string();
}

std::string ScoresWarning(const ScoreTable& table, const Alphabet& alphabet) {
  const std::string name(AlphabetName(alphabet.kind()));
  if (table.Unusable()) {
    return std::string("upozorenje: ") + kScoresFileName +
           " nema nijednu rec azbuke " + name +
           " sa ocenom od 0 do 100: ocene se ne koriste";
  }
  if (table.skipped > 0) {
    return std::string("upozorenje: ") + kScoresFileName + ": preskoceno " +
           std::to_string(table.skipped) + " od " +
           std::to_string(table.lines) + " redova (rec van azbuke " + name +
           " ili ocena van 0 do 100)";
  }
  return "";
}

}  // namespace polimreza
