#include "studio/word_scores.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "gtest/gtest.h"
#include "tests/scratch_folder.h"

namespace polimreza {
namespace {

std::string Codes(std::string_view word, const Alphabet& alphabet) {
  return DecodeWord(word, alphabet).value();
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A word's lines get the new score in both scripts, keeping their kind and
// line end; every other byte stays; a word without a line is appended as
// the file's lines end.
TEST(StudioWordScoresTest, RewriteChangesOnlyTheWordsLines) {
  const Alphabet latin(AlphabetKind::kSerbianLatin);
  const std::string text =
      "LJUBAV;40;obicna\r\nPAS;abc\r\nЉУБАВ;70\r\nKUCA;55;ime\r\n";
  EXPECT_EQ(RewriteScores(text, Codes("ljubav", latin), 90, latin),
            "LJUBAV;90;obicna\r\nPAS;abc\r\nЉУБАВ;90\r\nKUCA;55;ime\r\n");
  EXPECT_EQ(RewriteScores(text, Codes("ŠAH", latin), 5, latin),
            text + "ŠAH;5\r\n");
  EXPECT_EQ(RewriteScores("PAS;1\nMAK", Codes("SAN", latin), 0, latin),
            "PAS;1\nMAK\nSAN;0\n");
  EXPECT_EQ(RewriteScores("MAK\r\n", Codes("MAK", latin), 3, latin),
            "MAK;3\r\n");
  EXPECT_EQ(RewriteScores("", Codes("SAN", latin), 100, latin), "SAN;100\r\n");
}

class StudioWordScoresFileTest : public ::testing::Test {
 protected:
  std::shared_ptr<const Alphabet> ascii_ =
      std::make_shared<const Alphabet>(AlphabetKind::kAscii);
  ScratchFolder scratch_{"scores"};
  const std::filesystem::path folder_ = scratch_.path();
};

TEST_F(StudioWordScoresFileTest, SkippedLinesAreWarnedOf) {
  std::ofstream(folder_ / "ocene.txt") << "AB;7\r\nCD;101\r\nЉУ;5\r\n";
  WordScores scores(ascii_, folder_, 30);
  EXPECT_TRUE(scores.InPlay());
  EXPECT_EQ(scores.warning(),
            "upozorenje: ocene.txt: preskoceno 2 od 3 redova (rec van azbuke "
            "ascii ili ocena van 0 do 100)");
  std::ofstream(folder_ / "ocene.txt") << "ЉУ;5\r\n";
  WordScores none(ascii_, folder_, 30);
  EXPECT_FALSE(none.InPlay());
  EXPECT_EQ(none.warning(),
            "upozorenje: ocene.txt nema nijednu rec azbuke ascii sa ocenom od "
            "0 do 100: ocene se ne koriste");
}

// A score set is written at once, the file's other lines as they are now;
// a write that fails changes nothing and says so.
TEST_F(StudioWordScoresFileTest, SetWritesTheFileOrChangesNothing) {
  std::ofstream(folder_ / "ocene.txt") << "AB;7;obicna\r\n";
  WordScores scores(ascii_, folder_, 30);
  const std::string ab = Codes("AB", *ascii_), cd = Codes("CD", *ascii_);
  std::ofstream(folder_ / "ocene.txt", std::ios::app) << "EF;9\r\n";
  EXPECT_EQ(scores.Set(cd, 60), std::nullopt);
  EXPECT_EQ(scores.Set(ab, 80), std::nullopt);
  EXPECT_EQ(ReadAll(folder_ / "ocene.txt"),
            "AB;80;obicna\r\nEF;9\r\nCD;60\r\n");
  EXPECT_EQ(scores.ScoresOf({ab, cd, Codes("EF", *ascii_)}),
            (std::vector<std::optional<int>>{80, 60, std::nullopt}));
  const std::uint64_t version = scores.version();

  std::filesystem::remove_all(folder_);
  EXPECT_EQ(scores.Set(ab, 10),
            (ApiError{500, "Ne mogu da zapisem ocene.txt"}));
  EXPECT_EQ(scores.ScoresOf({ab}), (std::vector<std::optional<int>>{80}));
  EXPECT_EQ(scores.version(), version);
  std::filesystem::create_directories(folder_ / "ocene.txt");
  EXPECT_EQ(scores.Set(ab, 10),
            (ApiError{500, "Ne mogu da procitam ocene.txt"}));
}

}  // namespace
}  // namespace polimreza
