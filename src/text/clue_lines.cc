#include "text/clue_lines.h"

#include <hyphen.h>
#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "alphabet/alphabet.h"

namespace polimreza {

struct Hyphenator::Dictionary {
  HyphenDict* dict = nullptr;
  ~Dictionary() { hnj_hyphen_free(dict); }
};

Hyphenator::Hyphenator(const std::vector<std::string>& pattern_files) {
  for (const std::string& file : pattern_files) {
    HyphenDict* dict = hnj_hyphen_load(file.c_str());
    if (dict == nullptr) {
      missing_.push_back(file);
      continue;
    }
    auto dictionary = std::make_unique<Dictionary>();
    dictionary->dict = dict;
    dictionaries_.push_back(std::move(dictionary));
  }
}

Hyphenator::~Hyphenator() = default;

std::unique_ptr<Hyphenator> Hyphenator::Serbian() {
  return std::make_unique<Hyphenator>(std::vector<std::string>{
      kSerbianLatinPatterns, kSerbianCyrillicPatterns});
}

namespace {

// `word` in the single-byte encoding `charset`, or empty when some letter
// has no byte there.
std::string Encode(const icu::UnicodeString& word, const char* charset) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(charset, &status);
  if (U_FAILURE(status)) return {};
  ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr,
                        nullptr, &status);
  std::string bytes(static_cast<std::size_t>(word.length()) * 4 + 4, '\0');
  int32_t length = ucnv_fromUChars(converter, bytes.data(),
                                   static_cast<int32_t>(bytes.size()),
                                   word.getBuffer(), word.length(), &status);
  ucnv_close(converter);
  if (U_FAILURE(status)) return {};
  bytes.resize(static_cast<std::size_t>(length));
  return bytes;
}

// Points of `bytes` by `dict` as byte offsets, non-standard ones left out.
std::vector<unsigned> BytePoints(HyphenDict* dict, const std::string& bytes) {
  std::vector<char> hyphens(bytes.size() + 5, '0');
  char** rep = nullptr;
  int* pos = nullptr;
  int* cut = nullptr;
  hnj_hyphen_hyphenate3(dict, bytes.data(), static_cast<int>(bytes.size()),
                        hyphens.data(), nullptr, &rep, &pos, &cut, 2, 2, 0, 0);
  std::vector<unsigned> points;
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
    if ((hyphens[i] & 1) && (rep == nullptr || rep[i] == nullptr)) {
      points.push_back(static_cast<unsigned>(i + 1));
    }
  }
  if (rep != nullptr) {
    for (std::size_t i = 0; i < bytes.size(); ++i) std::free(rep[i]);
    std::free(rep);
  }
  std::free(pos);
  std::free(cut);
  return points;
}

}  // namespace

std::vector<unsigned> Hyphenator::Points(std::string_view word) const {
  icu::UnicodeString lower = icu::UnicodeString::fromUTF8(
      icu::StringPiece(word.data(), static_cast<int32_t>(word.size())));
  lower.toLower(icu::Locale("sr"));
  for (const auto& dictionary : dictionaries_) {
    HyphenDict* dict = dictionary->dict;
    std::string bytes;
    if (dict->utf8) {
      lower.toUTF8String(bytes);
    } else {
      bytes = Encode(lower, dict->cset);
      if (bytes.empty()) continue;
    }
    std::vector<unsigned> points = BytePoints(dict, bytes);
    if (dict->utf8) {
      // Byte offsets to character counts.
      for (unsigned& point : points) {
        point = static_cast<unsigned>(
            CharacterCount(std::string_view(bytes).substr(0, point)));
      }
    }
    return points;
  }
  return {};
}

namespace {

// A piece of the clue between two break opportunities.
struct Piece {
  std::u32string text;
  bool space_after = false;
};

std::u32string ToUtf32(const icu::UnicodeString& text) {
  std::u32string out;
  for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
    out.push_back(static_cast<char32_t>(text.char32At(i)));
  }
  return out;
}

std::string ToUtf8(const std::u32string& text) {
  icu::UnicodeString unicode;
  for (char32_t c : text) unicode.append(static_cast<UChar32>(c));
  std::string out;
  unicode.toUTF8String(out);
  return out;
}

// The clue in NFC with its white space runs made one space, split at the
// line break opportunities of Unicode's line breaking.
std::vector<Piece> SplitClue(std::string_view clue) {
  icu::UnicodeString raw = icu::UnicodeString::fromUTF8(
      icu::StringPiece(clue.data(), static_cast<int32_t>(clue.size())));
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
  icu::UnicodeString text;
  if (U_SUCCESS(status)) text = nfc->normalize(raw, status);
  if (U_FAILURE(status)) text = raw;
  icu::UnicodeString squeezed;
  for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
    UChar32 c = text.char32At(i);
    if (u_isUWhiteSpace(c) || u_iscntrl(c)) {
      if (!squeezed.isEmpty() && squeezed[squeezed.length() - 1] != u' ') {
        squeezed.append(u' ');
      }
    } else {
      squeezed.append(c);
    }
  }
  if (!squeezed.isEmpty() && squeezed[squeezed.length() - 1] == u' ') {
    squeezed.truncate(squeezed.length() - 1);
  }
  std::vector<Piece> pieces;
  status = U_ZERO_ERROR;
  std::unique_ptr<icu::BreakIterator> breaks(
      icu::BreakIterator::createLineInstance(icu::Locale("sr"), status));
  if (U_FAILURE(status)) {
    if (!squeezed.isEmpty()) pieces.push_back({ToUtf32(squeezed), false});
    return pieces;
  }
  breaks->setText(squeezed);
  int32_t start = breaks->first();
  for (int32_t end = breaks->next(); end != icu::BreakIterator::DONE;
       start = end, end = breaks->next()) {
    Piece piece;
    piece.text = ToUtf32(squeezed.tempSubStringBetween(start, end));
    if (!piece.text.empty() && piece.text.back() == U' ') {
      piece.text.pop_back();
      piece.space_after = true;
    }
    if (!piece.text.empty()) pieces.push_back(std::move(piece));
  }
  return pieces;
}

// The hyphenation points of a piece: those of each run of letters in it.
std::vector<unsigned> PiecePoints(const std::u32string& text,
                                  const Hyphenator* hyphenator) {
  std::vector<unsigned> points;
  if (hyphenator == nullptr) return points;
  std::size_t i = 0;
  while (i < text.size()) {
    if (!u_isalpha(static_cast<UChar32>(text[i]))) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && u_isalpha(static_cast<UChar32>(text[end]))) {
      ++end;
    }
    for (unsigned point : hyphenator->Points(ToUtf8(text.substr(i, end - i)))) {
      points.push_back(static_cast<unsigned>(i) + point);
    }
    i = end;
  }
  return points;
}

// Greedy line filling of the pieces; `hyphenate_all` breaks any word that
// does not fit the room left, not only those longer than a line.
class LineFiller {
 public:
  LineFiller(unsigned width, const Hyphenator* hyphenator)
      : width_(std::max(width, 1u)), hyphenator_(hyphenator) {}

  std::vector<std::u32string> Fill(const std::vector<Piece>& pieces,
                                   bool hyphenate_all) {
    bool space = false;
    for (const Piece& piece : pieces) {
      std::size_t gap = line_.empty() ? 0 : (space ? 1 : 0);
      if (line_.size() + gap + piece.text.size() <= width_) {
        Append(gap, piece.text);
      } else if (!hyphenate_all && piece.text.size() <= width_) {
        EndLine();
        line_ = piece.text;
      } else {
        Split(piece.text, gap);
      }
      space = piece.space_after;
    }
    if (!line_.empty()) EndLine();
    return std::move(lines_);
  }

 private:
  void Append(std::size_t gap, const std::u32string& text) {
    if (gap > 0) line_.push_back(U' ');
    line_ += text;
  }
  void EndLine() {
    lines_.push_back(std::move(line_));
    line_.clear();
  }

  // Places a word that does not fit the room left, breaking it at its
  // hyphenation points or, where none fits an empty line, hard.
  void Split(const std::u32string& word, std::size_t gap) {
    std::vector<unsigned> points = PiecePoints(word, hyphenator_);
    std::size_t done = 0;
    while (true) {
      if (line_.empty()) gap = 0;
      std::size_t used = line_.size() + gap;
      std::size_t room = used < width_ ? width_ - used : 0;
      std::size_t left = word.size() - done;
      if (left <= room) {
        Append(gap, word.substr(done));
        return;
      }
      std::size_t cut = 0;
      for (unsigned point : points) {
        if (point > done && point - done + 1 <= room) cut = point - done;
      }
      if (cut == 0 && !line_.empty()) {
        EndLine();
        continue;
      }
      bool hyphen = true;
      if (cut == 0) {  // an empty line and no point fits it
        hyphen = width_ >= 2;
        cut = hyphen ? width_ - 1 : width_;
      }
      Append(gap, word.substr(done, cut));
      if (hyphen) line_.push_back(U'-');
      EndLine();
      done += cut;
    }
  }

  std::size_t width_;
  const Hyphenator* hyphenator_;
  std::u32string line_;
  std::vector<std::u32string> lines_;
};

}  // namespace

ClueLines BreakClue(std::string_view clue, unsigned line_chars,
                    unsigned max_lines, const Hyphenator* hyphenator) {
  std::vector<Piece> pieces = SplitClue(clue);
  std::vector<std::u32string> lines =
      LineFiller(line_chars, hyphenator).Fill(pieces, false);
  if (lines.size() > max_lines) {
    std::vector<std::u32string> packed =
        LineFiller(line_chars, hyphenator).Fill(pieces, true);
    if (packed.size() < lines.size()) lines = std::move(packed);
  }
  ClueLines result;
  for (const std::u32string& line : lines) result.lines.push_back(ToUtf8(line));
  result.fits = lines.size() <= max_lines;
  return result;
}

}  // namespace polimreza
