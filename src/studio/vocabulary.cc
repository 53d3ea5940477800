#include "studio/vocabulary.h"

#include <algorithm>
#include <chrono>
#include <sstream>

#include "studio/files.h"
#include "tool/input_files.h"
#include "wordlist/alphabet_lists.h"

namespace polimreza {
namespace {

// The lines of the file `path`, without their line ends; none when missing.
std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  std::vector<std::string> lines;
  auto read = ReadInput(path.string(), InputRules{});
  if (auto* text = std::get_if<std::string>(&read)) {
    std::istringstream in(*text);
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
  }
  return lines;
}

}  // namespace

std::function<bool()> FitTimeUp() {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(10);
  return [deadline] { return std::chrono::steady_clock::now() >= deadline; };
}

Vocabulary::Vocabulary(std::shared_ptr<const Alphabet> alphabet,
                       std::filesystem::path lists)
    : alphabet_(std::move(alphabet)), path_(std::move(lists)) {
  ListOpener opener = [dir = path_](unsigned length) {
    return OpenForReading((dir / ListFileName(length)).string());
  };
  singles_ = std::make_unique<WordLists>(AnyLetterSingles(opener, *alphabet_),
                                         AlphabetWordEncoder(alphabet_));
  lists_ = std::make_unique<WordLists>(std::move(opener),
                                       AlphabetWordEncoder(alphabet_));
  lexicons_ = std::make_unique<SearchLexicons>(*lists_);
  skandinavka_ = std::make_unique<SearchLexicons>(*singles_, *lexicons_, 2);
  for (const std::string& line : ReadLines(path_ / kExcludedFile)) {
    std::optional<std::string> codes = DecodeWord(line, *alphabet_);
    if (codes && !IsExcluded(*codes)) excluded_.push_back(*codes);
  }
  for (const std::string& line : ReadLines(path_ / kOwnCluesFile)) {
    const std::size_t semicolon = line.find(';');
    if (semicolon == std::string::npos) continue;
    std::optional<std::string> codes =
        DecodeWord(std::string_view(line).substr(0, semicolon), *alphabet_);
    if (codes) clues_.emplace_back(*codes, line.substr(semicolon + 1));
  }
  for (unsigned length = 1; length <= kMaxEntryLength; ++length) {
    lists_->List(length);
  }
  SetExcluded();
}

Vocabulary::~Vocabulary() = default;

void Vocabulary::SetExcluded() {
  ++version_;
  lexicons_->SetExcluded({excluded_.begin(), excluded_.end()});
  // Built now, under the writer's lock, so that every later reader only
  // reads them.
  for (unsigned length = 1; length <= kMaxEntryLength; ++length) {
    lexicons_->ForLength(length);
  }
  skandinavka_->ForLength(1);
}

bool Vocabulary::IsExcluded(const std::string& codes) const {
  return std::find(excluded_.begin(), excluded_.end(), codes) !=
         excluded_.end();
}

std::string Vocabulary::ClueFor(const std::string& codes,
                                std::optional<std::size_t> entry) {
  for (const auto& [word, clue] : clues_) {
    if (word == codes) return clue;
  }
  if (entry) {
    const WordList* list = lists_->List(static_cast<unsigned>(codes.size()));
    return list ? std::string(list->Clue(*entry)) : "";
  }
  return std::string(lists_->FindClue(codes).value_or(""));
}

std::optional<ApiError> Vocabulary::WriteExcluded() const {
  std::string text;
  for (const std::string& word : excluded_) {
    text += EncodeWord(word, *alphabet_) + "\n";
  }
  return WriteFiles({{path_ / kExcludedFile, text}}, true);
}

std::optional<ApiError> Vocabulary::WriteOwnClues() const {
  std::string text;
  for (const auto& [word, clue] : clues_) {
    text += EncodeWord(word, *alphabet_) + ";" + clue + "\r\n";
  }
  return WriteFiles({{path_ / kOwnCluesFile, text}}, true);
}

Decoded<std::size_t> Vocabulary::Exclude(const std::string& codes) {
  std::unique_lock lock(mutex_);
  if (!IsExcluded(codes)) {
    excluded_.push_back(codes);
    if (auto error = WriteExcluded()) {
      excluded_.pop_back();
      return *error;
    }
    SetExcluded();
  }
  return excluded_.size();
}

Decoded<std::size_t> Vocabulary::Include(const std::string& codes) {
  std::unique_lock lock(mutex_);
  const auto found = std::find(excluded_.begin(), excluded_.end(), codes);
  if (found != excluded_.end()) {
    const std::vector<std::string> before = excluded_;
    excluded_.erase(found);
    if (auto error = WriteExcluded()) {
      excluded_ = before;
      return *error;
    }
    SetExcluded();
  }
  return excluded_.size();
}

std::optional<ApiError> Vocabulary::SetClue(const std::string& codes,
                                            const std::string& clue) {
  std::unique_lock lock(mutex_);
  const auto before = clues_;
  auto found = std::find_if(clues_.begin(), clues_.end(),
                            [&](const auto& c) { return c.first == codes; });
  if (clue.empty()) {
    if (found != clues_.end()) clues_.erase(found);
  } else if (found != clues_.end()) {
    found->second = clue;
  } else {
    clues_.emplace_back(codes, clue);
  }
  if (auto error = WriteOwnClues()) {
    clues_ = before;
    return error;
  }
  ++version_;
  return std::nullopt;
}

std::optional<std::string> CandidateCache::Find(const std::string& key) {
  std::lock_guard lock(mutex_);
  for (const auto& [known, answer] : answers_) {
    if (known == key) return answer;
  }
  return std::nullopt;
}

void CandidateCache::Keep(std::string key, std::string body) {
  std::lock_guard lock(mutex_);
  if (answers_.size() == kKept) answers_.pop_front();
  answers_.emplace_back(std::move(key), std::move(body));
}

}  // namespace polimreza
