#include "studio/session.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <thread>

#include "gtest/gtest.h"
#include "nlohmann/json.hpp"
#include "tests/scratch_folder.h"

namespace polimreza {
namespace {

class StudioSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The squares' down slots are of one letter.
    std::ofstream(folder_ / "1.txt") << "A;\r\nB;\r\nC;\r\nD;\r\n";
    std::ofstream(folder_ / "2.txt") << "AB;prvi\r\nCD;drugi\r\n";
  }

  ScratchFolder scratch_{"session"};
  const std::filesystem::path folder_ = scratch_.path();
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

// With ocene.txt, candidates come by score with their scores (null for a
// word without one), a score set moves a word, and the grid's figures
// follow.
TEST_F(StudioSessionTest, CandidatesAndFiguresFollowScores) {
  std::ofstream(folder_ / "ocene.txt") << "AB;20;obicna\r\nA;50\r\n";
  Session session(AlphabetKind::kAscii, folder_, folder_, 30);
  const std::string slot =
      R"({"rows": ["**"], "row": 0, "col": 0, "direction": "across"})";
  EXPECT_EQ(session.Candidates(slot).body,
            R"({"count":2,"exact":true,"slot":{"row":0,"col":0,"direction":)"
            R"("across","length":2},"words":[{"word":"AB","clue":"prvi",)"
            R"("score":20},{"word":"CD","clue":"drugi","score":null}]})");
  EXPECT_EQ(session.SetScore(R"({"word": "CD", "score": 75})").body,
            R"({"word":"CD","score":75})");
  EXPECT_EQ(session.Candidates(slot).body,
            R"({"count":2,"exact":true,"slot":{"row":0,"col":0,"direction":)"
            R"("across","length":2},"words":[{"word":"CD","clue":"drugi",)"
            R"("score":75},{"word":"AB","clue":"prvi","score":20}]})");
  EXPECT_EQ(
      session.Quality(R"({"rows": ["AB", "C*"]})").body,
      R"({"squares":4,"black":0,"blackShare":0.0,"words":4,"placed":2,)"
      R"("pdr":2.0,"band":"vrlo laka","scores":{"weakBelow":30,"lowest":0,)"
      R"("mean":10.0,"weakWords":2,"weakCrossings":1,"unscored":1,)"
      R"("kinds":[1,0,0,0,0,0,1]},"weak":[{"row":0,"col":0,"direction":)"
      R"("across","length":2},{"row":0,"col":0,"direction":"down",)"
      R"("length":2}],"crossings":[[0,0]]})");
}

// The page learns from /api/info how keys type the alphabet's letters.
TEST_F(StudioSessionTest, InfoCarriesTheTypingTable) {
  Session session(AlphabetKind::kSerbianLatin, folder_, folder_);
  const auto info =
      nlohmann::json::parse(session.Info("127.0.0.1", true, "").body);
  ASSERT_TRUE(info.contains("typing"));
  EXPECT_EQ(info.at("typing").at("keys").at("\u0409"), "LJ");
  const auto& joins = info.at("typing").at("joins");
  EXPECT_NE(std::find(joins.begin(), joins.end(),
                      nlohmann::json::array({"L", "J", "LJ"})),
            joins.end());
}

// A fill whose thread cannot be started is refused, and leaves no fill
// running: the next one runs.
TEST_F(StudioSessionTest, FillWhoseThreadCannotStartLeavesNoneRunning) {
  Session session(AlphabetKind::kAscii, folder_, folder_);
  session.SetThreadStarter([](std::function<void()>) -> std::thread {
    throw std::system_error(
        std::make_error_code(std::errc::resource_unavailable_try_again));
  });
  const std::string fill = R"({"rows": ["**"]})";
  const Reply refused = session.Fill(fill);
  EXPECT_EQ(refused.status, 503);
  EXPECT_EQ(refused.body, R"({"error":"Ne mogu da pokrenem popunjavanje"})");
  EXPECT_EQ(
      session.Progress().body,
      R"({"running":false,"nodes":0,"filled":0,"slots":0,"seconds":0.0})");
  session.SetThreadStarter(
      [](std::function<void()>) -> std::thread { throw std::bad_alloc(); });
  EXPECT_EQ(session.Fill(fill).body, R"({"error":"Nema dovoljno memorije"})");
  session.SetThreadStarter(
      [](std::function<void()> work) { return std::thread(std::move(work)); });
  const Reply filled = session.Fill(fill);
  EXPECT_EQ(filled.status, 200);
  EXPECT_NE(filled.body.find(R"("status":"filled")"), std::string::npos);
}

}  // namespace
}  // namespace polimreza
