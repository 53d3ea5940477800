#include "studio/session.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "gtest/gtest.h"

namespace polimreza {
namespace {

class StudioSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/polimreza-session-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    folder_ = name;
    // The squares' down slots are of one letter.
    std::ofstream(folder_ / "1.txt") << "A;\r\nB;\r\nC;\r\nD;\r\n";
    std::ofstream(folder_ / "2.txt") << "AB;prvi\r\nCD;drugi\r\n";
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path folder_;
};

// A repeated question is answered from the last answers; excluding or
// taking back a word and setting a clue are seen by the next one.
TEST_F(StudioSessionTest, CandidatesFollowExclusionsAndClues) {
  Session session(AlphabetKind::kAscii, folder_, folder_);
  const std::string at_start =
      R"({"rows": ["**"], "row": 0, "col": 0, "direction": "across"})";
  const std::string at_end =
      R"({"rows": ["**"], "row": 0, "col": 1, "direction": "across"})";
  const std::string both =
      R"({"count":2,"exact":true,"slot":{"row":0,"col":0,"direction":)"
      R"("across","length":2},"words":[{"word":"AB","clue":"prvi"},)"
      R"({"word":"CD","clue":"drugi"}]})";
  EXPECT_EQ(session.Candidates(at_start).body, both);
  EXPECT_EQ(session.Candidates(at_end).body, both);

  EXPECT_EQ(session.Exclude(R"({"word": "AB"})").status, 200);
  EXPECT_EQ(session.Candidates(at_end).body,
            R"({"count":1,"exact":true,"slot":{"row":0,"col":0,"direction":)"
            R"("across","length":2},"words":[{"word":"CD","clue":"drugi"}]})");
  EXPECT_EQ(session.Include(R"({"word": "AB"})").status, 200);
  EXPECT_EQ(session.Candidates(at_start).body, both);

  EXPECT_EQ(session.SetClue(R"({"word": "CD", "clue": "moj"})").status, 200);
  EXPECT_EQ(session.Candidates(at_start).body,
            R"({"count":2,"exact":true,"slot":{"row":0,"col":0,"direction":)"
            R"("across","length":2},"words":[{"word":"AB","clue":"prvi"},)"
            R"({"word":"CD","clue":"moj"}]})");
}

}  // namespace
}  // namespace polimreza
