#include "dictionary/sources.h"

#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <new>

#include "text/text_lines.h"
#include "wordlist/scores.h"

namespace polimreza {

namespace {

constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The text as the lists' rules read it: without a leading byte order mark
// and nothing from the first Ctrl-Z on.
std::string_view Body(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(3);
  return text.substr(0, text.find(kEndOfText));
}

// Calls `visit` with each line of `text`, without its line end.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!visit(line)) return;
    if (end == std::string_view::npos) return;
    text.remove_prefix(end + 1);
  }
}

bool IsCount(std::string_view line) {
  line = Trim(line);
  return !line.empty() && std::all_of(line.begin(), line.end(), [](char c) {
    return c >= '0' && c <= '9';
  });
}

bool IsLowerAscii(char c) { return c >= 'a' && c <= 'z'; }

// The stem of a hunspell dictionary line.
std::string_view HunspellStem(std::string_view line) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '\\' && i + 1 < line.size() && line[i + 1] == '/') {
      ++i;  // "\/" is a slash in the word (kept as written)
    } else if (c == '/' || c == '\t') {
      return line.substr(0, i);
    } else if (c == ' ' && i + 3 < line.size() && IsLowerAscii(line[i + 1]) &&
               IsLowerAscii(line[i + 2]) && line[i + 3] == ':') {
      return line.substr(0, i);  // a morphological field such as " po:noun"
    }
  }
  return line;
}

// The second field of a line: after its first ';', up to the next one.
std::string_view SecondField(std::string_view line) {
  const std::size_t semicolon = line.find(';');
  if (semicolon == std::string_view::npos) return {};
  line.remove_prefix(semicolon + 1);
  return Trim(line.substr(0, line.find(';')));
}

// Whether `text` is a whole number in decimal digits, with a sign or not.
bool IsSignedNumber(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    text.remove_prefix(1);
  }
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return c >= '0' && c <= '9';
  });
}

bool IsScored(std::string_view text) {
  bool any = false;
  bool scored = true;
  ForEachLine(text, [&](std::string_view line) {
    if (Trim(line).empty()) return true;
    any = true;
    scored = line.find(';') != std::string_view::npos &&
             IsSignedNumber(SecondField(line));
    return scored;
  });
  return any && scored;
}

}  // namespace

std::optional<int> ParseScore(std::string_view text) {
  return ReadScore(Trim(text));
}

SourceFormat RecognizeFormat(std::string_view name, std::string_view text) {
  text = Body(text);
  const std::string_view first = text.substr(0, text.find('\n'));
  if (name.ends_with(".dic") && IsCount(first)) return SourceFormat::kHunspell;
  if (IsScored(text)) return SourceFormat::kScored;
  SourceFormat format = SourceFormat::kWords;
  ForEachLine(text, [&format](std::string_view line) {
    if (Trim(line).empty()) return true;
    if (line.find(';') != std::string_view::npos) format = SourceFormat::kClued;
    return false;
  });
  return format;
}

std::optional<SourceFormat> FormatNamed(std::string_view name) {
  if (name == "hunspell") return SourceFormat::kHunspell;
  if (name == "words") return SourceFormat::kWords;
  if (name == "clued") return SourceFormat::kClued;
  if (name == "scored") return SourceFormat::kScored;
  return std::nullopt;
}

void ReadSource(std::string_view text, SourceFormat format,
                const LineVisitor& visit) {
  text = Body(text);
  bool first = true;
  ForEachLine(text, [&](std::string_view line) {
    switch (format) {
      case SourceFormat::kHunspell:
        if (!(first && IsCount(line))) visit(Trim(HunspellStem(line)), {});
        break;
      case SourceFormat::kWords:
        visit(Trim(line), {});
        break;
      case SourceFormat::kClued: {
        const std::size_t semicolon = line.find(';');
        if (semicolon == std::string_view::npos) {
          visit(Trim(line), {});
        } else {
          visit(Trim(line.substr(0, semicolon)),
                Trim(line.substr(semicolon + 1)));
        }
        break;
      }
      case SourceFormat::kScored: {
        const std::size_t semicolon = line.find(';');
        visit(Trim(line.substr(0, semicolon)), SecondField(line));
        break;
      }
    }
    first = false;
    return true;
  });
}

std::string HunspellCharset(std::string_view affix_text) {
  if (affix_text.starts_with(kByteOrderMark)) affix_text.remove_prefix(3);
  std::string charset = "UTF-8";
  ForEachLine(affix_text, [&charset](std::string_view line) {
    line = Trim(line);
    if (!line.starts_with("SET") || line.size() < 4 || !IsBlank(line[3])) {
      return true;
    }
    charset = std::string(Trim(line.substr(3)));
    // Hunspell's own name for the one set ICU knows by another.
    if (charset == "microsoft-cp1251") charset = "windows-1251";
    return false;
  });
  return charset;
}

bool ConvertToUtf8(std::string_view text, const std::string& charset,
                   std::string& out) {
  UErrorCode status = U_ZERO_ERROR;
  // The converter is opened first only to tell an unknown name, which the
  // string's constructor would take for the default character set.
  UConverter* converter = ucnv_open(charset.c_str(), &status);
  if (U_FAILURE(status)) return false;
  ucnv_close(converter);
  icu::UnicodeString unicode(text.data(), static_cast<int32_t>(text.size()),
                             charset.c_str());
  // The name is known, so a failed conversion means memory ran out.
  if (unicode.isBogus()) throw std::bad_alloc();
  out.clear();
  unicode.toUTF8String(out);
  return true;
}

}  // namespace polimreza
