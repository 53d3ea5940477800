#include "alphabet/alphabet.h"

#include <gtest/gtest.h>
#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

#include <string>
#include <vector>

namespace polimreza {
namespace {

constexpr AlphabetKind kAscii = AlphabetKind::kAscii;
constexpr AlphabetKind kLatin = AlphabetKind::kSerbianLatin;
constexpr AlphabetKind kCyrillic = AlphabetKind::kSerbianCyrillic;

// The letters' names joined by '-'.
std::string Names(const Alphabet& alphabet,
                  const std::vector<Letter>& letters) {
  std::string out;
  for (Letter letter : letters) {
    if (!out.empty()) out += '-';
    out += alphabet.Name(letter);
  }
  return out;
}

std::string AllNames(const Alphabet& alphabet) {
  std::vector<Letter> letters;
  for (std::size_t i = 0; i < alphabet.size(); ++i) {
    letters.push_back(static_cast<Letter>(i));
  }
  return Names(alphabet, letters);
}

TEST(AlphabetTest, NamesOnTheCommandLine) {
  EXPECT_EQ(AlphabetNamed("ascii"), kAscii);
  EXPECT_EQ(AlphabetNamed("sr-latn"), kLatin);
  EXPECT_EQ(AlphabetNamed("sr-cyrl"), kCyrillic);
  for (const char* name : {"", "SR-LATN", "sr", "sr-latn ", "latin"}) {
    EXPECT_EQ(AlphabetNamed(name), std::nullopt) << name;
  }
}

TEST(AlphabetTest, LettersInOrder) {
  EXPECT_EQ(AllNames(Alphabet(kAscii)),
            "A-B-C-D-E-F-G-H-I-J-K-L-M-N-O-P-Q-R-S-T-U-V-W-X-Y-Z");
  EXPECT_EQ(AllNames(Alphabet(kLatin)),
            "A-B-C-Č-Ć-D-DŽ-Đ-E-F-G-H-I-J-K-L-LJ-M-N-NJ-O-P-R-S-Š-T-U-V-Z-Ž");
  EXPECT_EQ(AllNames(Alphabet(kCyrillic)),
            "А-Б-В-Г-Д-Ђ-Е-Ж-З-И-Ј-К-Л-Љ-М-Н-Њ-О-П-Р-С-Т-Ћ-У-Ф-Х-Ц-Ч-Џ-Ш");
  for (AlphabetKind kind : {kAscii, kLatin, kCyrillic}) {
    EXPECT_LE(Alphabet(kind).size(), kMaxAlphabetSize);
  }
  EXPECT_EQ(Alphabet(kLatin).Split("AVŽ").letters,
            (std::vector<Letter>{0, 27, 29}));
  EXPECT_EQ(Alphabet(kCyrillic).Split("AVŽ").letters,
            (std::vector<Letter>{0, 2, 7}));
  EXPECT_EQ(Alphabet(kAscii).Split("AZ").letters, (std::vector<Letter>{0, 25}));
}

TEST(AlphabetTest, SplitsIntoLetters) {
  const std::string zwnj(kZeroWidthNonJoiner);
  struct Case {
    AlphabetKind kind;
    std::string text;
    std::string letters;
    bool digraph_rule;
  };
  const Case cases[] = {
      {kLatin, "LJUBAV", "LJ-U-B-A-V", true},
      {kLatin, "NJIVA", "NJ-I-V-A", true},
      {kLatin, "DŽEP", "DŽ-E-P", true},
      {kLatin, "NADŽIVETI", "N-A-DŽ-I-V-E-T-I", true},
      {kLatin, "NAD" + zwnj + "ŽIVETI", "N-A-D-Ž-I-V-E-T-I", false},
      {kLatin, "INJEKCIJA", "I-NJ-E-K-C-I-J-A", true},
      {kLatin, "IN" + zwnj + "JEKCIJA", "I-N-J-E-K-C-I-J-A", false},
      {kLatin, "KON" + zwnj + "JUGACIJA", "K-O-N-J-U-G-A-C-I-J-A", false},
      {kLatin, zwnj + "A" + zwnj + "B" + zwnj, "A-B", false},
      {kLatin, "ĐAK", "Đ-A-K", false},
      {kLatin, "LJJ", "LJ-J", true},
      // Lower case, title case, Unicode's digraph characters.
      {kLatin, "ljubav", "LJ-U-B-A-V", true},
      {kLatin, "Džep", "DŽ-E-P", true},
      {kLatin, "čćđšž", "Č-Ć-Đ-Š-Ž", false},
      {kLatin, "ǈubav", "LJ-U-B-A-V", false},
      {kLatin, "ǊIVA", "NJ-I-V-A", false},
      {kLatin, "ǅep", "DŽ-E-P", false},
      {kLatin, "ǆǄ", "DŽ-DŽ", false},
      // Decomposed: C and a combining caron are C-caron.
      {kLatin, "C\u030CAS", "Č-A-S", false},
      {kLatin, "c\u0301up", "Ć-U-P", false},
      {kLatin, "DZ\u030C", "DŽ", true},
      {kLatin, "D\u200CZ\u030C", "D-Ž", false},
      {kLatin, "", "", false},
      // Cyrillic: either Serbian alphabet reads either script.
      {kLatin, "Љубав", "LJ-U-B-A-V", false},
      {kLatin, "НАДЖИВЕТИ", "N-A-D-Ž-I-V-E-T-I", false},
      {kCyrillic, "ЏЕП", "Џ-Е-П", false},
      {kCyrillic, "LJUBAV", "Љ-У-Б-А-В", true},
      // ascii: bytes A-Z, each a letter.
      {kAscii, "LJUBAV", "L-J-U-B-A-V", false},
      {kAscii, "QWXY", "Q-W-X-Y", false},
  };
  for (const Case& c : cases) {
    const Alphabet alphabet(c.kind);
    const SplitResult result = alphabet.Split(c.text);
    ASSERT_TRUE(result.ok())
        << c.text << ": " << DescribeSplitError(result, c.kind);
    EXPECT_EQ(Names(alphabet, result.letters), c.letters) << c.text;
    EXPECT_EQ(result.used_digraph_rule, c.digraph_rule) << c.text;
    // The same letters after what the buffer held, each as 'a' + letter.
    std::string codes = "xy";
    EXPECT_TRUE(alphabet.AppendLetters(c.text, 'a', codes)) << c.text;
    std::string expected = "xy";
    for (const Letter letter : result.letters) expected.push_back('a' + letter);
    EXPECT_EQ(codes, expected) << c.text;
  }
}

TEST(AlphabetTest, RefusesWhatIsNoWord) {
  constexpr SplitError kOutside = SplitError::kOutsideAlphabet;
  constexpr SplitError kUtf8 = SplitError::kInvalidUtf8;
  constexpr SplitError kMark = SplitError::kStrayMark;
  constexpr SplitError kMixed = SplitError::kMixedScripts;
  struct Case {
    AlphabetKind kind;
    std::string text;
    SplitError error;
    std::size_t offset;
  };
  const Case cases[] = {
      {kLatin, "QUIZ", kOutside, 0},
      {kLatin, "ČAX", kOutside, 3},
      {kCyrillic, "MAYA", kOutside, 2},
      {kLatin, "LJU BAV", kOutside, 3},
      {kLatin, "ÁB", kOutside, 0},
      {kLatin, "BA\u0301", kOutside, 1},
      {kLatin, "Е\u0308Ж", kOutside, 0},
      {kLatin, "AB\xff", kUtf8, 2},
      {kLatin, "\xc0\x80", kUtf8, 0},
      {kLatin, "A\xed\xa0\x80", kUtf8, 1},
      {kLatin, "\u030CA", kMark, 0},
      {kLatin, "AB\u0308", kMark, 2},
      {kLatin, "ǰ", kMark, 0},
      {kLatin, "ЉUBAV", kMixed, 2},
      {kCyrillic, "ЏEП", kMixed, 2},
      {kLatin, "A\u0410", kMixed, 1},
      // Cyrillic that is not Serbian, whole or composed.
      {kCyrillic, "ЖЫ", kOutside, 2},
      {kCyrillic, "И\u0306", kOutside, 0},
      {kAscii, "Abc", kOutside, 1},
      {kAscii, "ČA", kOutside, 0},
      {kAscii, "A\xff", kOutside, 1},
      {kAscii, "A" + std::string(kZeroWidthNonJoiner), kOutside, 1},
  };
  for (const Case& c : cases) {
    const Alphabet alphabet(c.kind);
    const SplitResult result = alphabet.Split(c.text);
    EXPECT_EQ(result.error, c.error) << c.text;
    EXPECT_EQ(result.offset, c.offset) << c.text;
    EXPECT_TRUE(result.letters.empty()) << c.text;
    EXPECT_FALSE(result.used_digraph_rule) << c.text;
    std::string codes = "xy";
    EXPECT_FALSE(alphabet.AppendLetters(c.text, 'a', codes)) << c.text;
    EXPECT_EQ(codes, "xy") << c.text;
  }
}

TEST(AlphabetTest, DescribesRefusals) {
  struct Case {
    AlphabetKind kind;
    SplitResult result;
    std::string message;
  };
  const Case cases[] = {
      {kLatin,
       {{}, SplitError::kOutsideAlphabet, 0, false},
       "Znak na bajtu 1 nije slovo alfabeta sr-latn"},
      {kAscii,
       {{}, SplitError::kOutsideAlphabet, 1, false},
       "Znak na bajtu 2 nije slovo alfabeta ascii"},
      {kLatin,
       {{}, SplitError::kInvalidUtf8, 2, false},
       "Tekst nije ispravan UTF-8 na bajtu 3"},
      {kLatin,
       {{}, SplitError::kStrayMark, 0, false},
       "Kombinujuci znak na bajtu 1 ne stoji uz slovo"},
      {kCyrillic,
       {{}, SplitError::kMixedScripts, 2, false},
       "Latinica i cirilica su pomesane, na bajtu 3"},
      {kLatin, {{0}, SplitError::kNoError, 0, false}, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DescribeSplitError(c.result, c.kind), c.message);
  }
}

// Each row: the same letters in Latin, in Cyrillic, and in Latin with
// Unicode's one-character digraphs.
TEST(AlphabetTest, TransliteratesLetterForLetter) {
  const std::string zwnj(kZeroWidthNonJoiner);
  struct Case {
    std::string latin;
    std::string cyrillic;
    std::string single;
  };
  const Case cases[] = {
      {"LJUBAV", "ЉУБАВ", "ǇUBAV"},
      {"NJIVA", "ЊИВА", "ǊIVA"},
      {"DŽEP", "ЏЕП", "ǄEP"},
      {"NAD" + zwnj + "ŽIVETI", "НАДЖИВЕТИ", "NAD" + zwnj + "ŽIVETI"},
      {"IN" + zwnj + "JEKCIJA", "ИНЈЕКЦИЈА", "IN" + zwnj + "JEKCIJA"},
      {"KON" + zwnj + "JUGACIJA", "КОНЈУГАЦИЈА", "KON" + zwnj + "JUGACIJA"},
      {"ĐURĐEVDAN", "ЂУРЂЕВДАН", "ĐURĐEVDAN"},
      {"ĆUPRIJA", "ЋУПРИЈА", "ĆUPRIJA"},
      {"ČAŠA", "ЧАША", "ČAŠA"},
  };
  for (AlphabetKind kind : {kLatin, kCyrillic}) {
    const Alphabet alphabet(kind);
    for (const Case& c : cases) {
      const std::vector<Letter> letters = alphabet.Split(c.latin).letters;
      ASSERT_FALSE(letters.empty()) << c.latin;
      EXPECT_EQ(alphabet.Split(c.cyrillic).letters, letters) << c.cyrillic;
      EXPECT_EQ(alphabet.Split(c.single).letters, letters) << c.single;
      EXPECT_EQ(alphabet.Write(letters, Script::kLatin), c.latin);
      EXPECT_EQ(alphabet.Write(letters, Script::kCyrillic), c.cyrillic);
      EXPECT_EQ(alphabet.Write(letters, Script::kLatin,
                               DigraphForm::kSingleCharacter),
                c.single);
    }
  }
  const Alphabet cyrillic(kCyrillic);
  EXPECT_EQ(cyrillic.Write(cyrillic.Split("ljubav").letters), "ЉУБАВ");
}

// Whatever two letters stand side by side, what is written reads back as
// the same letters, in either script and form.
TEST(AlphabetTest, EveryPairReadsBackAsWritten) {
  for (AlphabetKind kind : {kAscii, kLatin, kCyrillic}) {
    const Alphabet alphabet(kind);
    for (Script script : {Script::kLatin, Script::kCyrillic}) {
      for (DigraphForm form :
           {DigraphForm::kTwoCharacters, DigraphForm::kSingleCharacter}) {
        for (std::size_t a = 0; a < alphabet.size(); ++a) {
          for (std::size_t b = 0; b < alphabet.size(); ++b) {
            const std::vector<Letter> letters = {static_cast<Letter>(a),
                                                 static_cast<Letter>(b)};
            const std::string text = alphabet.Write(letters, script, form);
            const SplitResult result = alphabet.Split(text);
            EXPECT_EQ(result.letters, letters) << text;
          }
        }
      }
    }
  }
}

// Text of plain composed letters is split without ICU; the same text
// decomposed goes through composition and must come out the same, for every
// character the plain way knows and around every digraph.
TEST(AlphabetTest, ComposedAndDecomposedTextSplitAlike) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
  ASSERT_TRUE(U_SUCCESS(status));
  const auto decompose = [nfd](const std::string& text) {
    UErrorCode error = U_ZERO_ERROR;
    std::string out;
    nfd->normalize(icu::UnicodeString::fromUTF8(text), error).toUTF8String(out);
    EXPECT_TRUE(U_SUCCESS(error));
    return out;
  };
  for (AlphabetKind kind : {kLatin, kCyrillic}) {
    const Alphabet alphabet(kind);
    for (UChar32 c = 1; c < 0x500; ++c) {
      std::string character;
      icu::UnicodeString(c).toUTF8String(character);
      // "Č" ends each text, so that the decomposed one always differs.
      for (const std::string& text :
           {character + "Č", "L" + character + "Č", character + "JČ",
            "n" + character + "Č", "D" + character + "ŽČ", character + "žČ"}) {
        const std::string decomposed = decompose(text);
        ASSERT_NE(decomposed, text);
        const SplitResult plain = alphabet.Split(text);
        const SplitResult composed = alphabet.Split(decomposed);
        EXPECT_EQ(plain.ok(), composed.ok()) << text;
        EXPECT_EQ(plain.letters, composed.letters) << text;
        EXPECT_EQ(plain.used_digraph_rule, composed.used_digraph_rule) << text;
      }
    }
  }
}

TEST(AlphabetTest, AsciiTextIsKeptAsItIs) {
  const Alphabet alphabet(kAscii);
  for (const char* text : {"", "KROKODIL", "QWERTYXZ"}) {
    const SplitResult result = alphabet.Split(text);
    EXPECT_EQ(result.letters.size(), std::string(text).size());
    EXPECT_EQ(alphabet.Write(result.letters, Script::kCyrillic), text);
  }
}

}  // namespace
}  // namespace polimreza
