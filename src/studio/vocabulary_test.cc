#include "studio/vocabulary.h"

#include <filesystem>
#include <fstream>
#include <string>

#include "gtest/gtest.h"
#include "tests/scratch_folder.h"

namespace polimreza {
namespace {

// The author's clue wins over the list's; every change moves the version
// on, so that answers kept under the old one are not given again.
TEST(StudioVocabularyTest, ClueForAndVersion) {
  const ScratchFolder scratch("vocabulary");
  const std::filesystem::path& folder = scratch.path();
  std::ofstream(folder / "2.txt") << "AB;prvi\r\nCD;\r\n";
  std::ofstream(folder / "moji-opisi.txt") << "CD;moj\r\n";
  Vocabulary vocabulary(std::make_shared<const Alphabet>(AlphabetKind::kAscii),
                        folder);
  const std::string ab =
      DecodeWord("AB", Alphabet(AlphabetKind::kAscii)).value();
  const std::string cd =
      DecodeWord("CD", Alphabet(AlphabetKind::kAscii)).value();
  EXPECT_EQ(vocabulary.ClueFor(ab), "prvi");
  EXPECT_EQ(vocabulary.ClueFor(ab, 0), "prvi");
  EXPECT_EQ(vocabulary.ClueFor(cd, 1), "moj");
  std::uint64_t version = vocabulary.version();
  EXPECT_EQ(std::get<std::size_t>(vocabulary.Exclude(ab)), 1u);
  EXPECT_GT(vocabulary.version(), version);
  version = vocabulary.version();
  EXPECT_EQ(vocabulary.SetClue(ab, "novi"), std::nullopt);
  EXPECT_EQ(vocabulary.ClueFor(ab, 0), "novi");
  EXPECT_GT(vocabulary.version(), version);
  version = vocabulary.version();
  EXPECT_EQ(std::get<std::size_t>(vocabulary.Include(ab)), 0u);
  EXPECT_GT(vocabulary.version(), version);
}

}  // namespace
}  // namespace polimreza
