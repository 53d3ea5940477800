#include "studio/files.h"

#include <filesystem>
#include <fstream>
#include <string>

#include "gtest/gtest.h"
#include "tests/scratch_folder.h"

namespace polimreza {
namespace {

class StudioFilesTest : public ::testing::Test {
 protected:
  SaveRequest Request(const std::string& body) {
    auto request = DecodeSave(body, alphabet_, ".ipuz");
    EXPECT_EQ(request.index(), 0u)
        << (request.index() ? std::get<ApiError>(request).message : "");
    return std::get<SaveRequest>(request);
  }

  ScratchFolder scratch_{"studio"};
  const std::filesystem::path folder_ = scratch_.path();
  Alphabet alphabet_{AlphabetKind::kSerbianLatin};
};

// A partly filled grid saves and opens as it was: letters, open squares,
// the author's own letters, title, author, copyright line and clues
// (escaped in the file).
TEST_F(StudioFilesTest, SaveAndOpenRoundTrip) {
  const SaveRequest request = Request(
      "{\"name\": \"a.ipuz\", \"rows\": [\"LJ**\", \"N\u200cJ#\"], "
      "\"author\": [\"LJ**\", \"**#\"], \"title\": \"Naslov <&>\", "
      "\"author_name\": \"Autor\", \"copyright\": \"(c) 2026 Autor\", "
      "\"clues\": {\"across\": [\"jedan & dva\", "
      "\"tri\"], \"down\": [\"d1\", \"d2\"]}}");
  auto saved = SavePuzzle(folder_, request, alphabet_);
  ASSERT_EQ(saved.index(), 0u);
  EXPECT_EQ(std::get<std::string>(saved), R"({"saved":"a.ipuz"})");
  auto opened = OpenPuzzle(folder_, "a.ipuz", alphabet_);
  ASSERT_EQ(opened.index(), 0u);
  EXPECT_EQ(
      Json::parse(std::get<std::string>(opened)),
      Json::parse("{\"rows\": [\"LJ**\", \"N\u200cJ#\"], "
                  "\"author\": [\"LJ**\", \"***\"], "
                  "\"title\": \"Naslov <&>\", \"author_name\": "
                  "\"Autor\", \"copyright\": \"(c) 2026 Autor\", \"clues\": "
                  "{\"across\": [\"jedan & dva\", \"tri\"], \"down\": [\"d1\", "
                  "\"d2\", \"\"]}}"));
  EXPECT_EQ(ListIpuzFiles(folder_), std::vector<std::string>{"a.ipuz"});
}

TEST_F(StudioFilesTest, NeverOverwritesUnlessAsked) {
  SaveRequest request = Request(R"({"name": "a.ipuz", "rows": ["**"]})");
  ASSERT_EQ(SavePuzzle(folder_, request, alphabet_).index(), 0u);
  auto again = SavePuzzle(folder_, request, alphabet_);
  ASSERT_EQ(again.index(), 1u);
  EXPECT_EQ(std::get<ApiError>(again),
            (ApiError{409, "Fajl a.ipuz vec postoji", true}));
  request.overwrite = true;
  EXPECT_EQ(SavePuzzle(folder_, request, alphabet_).index(), 0u);
}

TEST_F(StudioFilesTest, OpenRefusals) {
  auto missing = OpenPuzzle(folder_, "x.ipuz", alphabet_);
  EXPECT_EQ(std::get<ApiError>(missing),
            (ApiError{404, "Fajl x.ipuz ne postoji"}));
  std::ofstream(folder_ / "bad.ipuz") << "{\"kind\": []}";
  EXPECT_EQ(std::get<ApiError>(OpenPuzzle(folder_, "bad.ipuz", alphabet_)),
            (ApiError{400, "Fajl nije ipuz ukrstenica"}));
}

TEST_F(StudioFilesTest, ExportNeedsAFullGrid) {
  auto request = DecodeSave(R"({"name": "x", "rows": ["A*"]})", alphabet_, "");
  auto refused =
      ExportPuzzle(folder_, std::get<SaveRequest>(request), alphabet_);
  EXPECT_EQ(std::get<ApiError>(refused),
            (ApiError{400, "Mreza nije popunjena"}));
  request = DecodeSave(R"({"name": "x", "rows": ["AB"]})", alphabet_, "");
  auto written =
      ExportPuzzle(folder_, std::get<SaveRequest>(request), alphabet_);
  ASSERT_EQ(written.index(), 0u);
  EXPECT_EQ(std::get<std::string>(written),
            R"({"written":["x-stampa.html","x-resenje.ipuz","x-stampa.svg"]})");
  EXPECT_TRUE(std::filesystem::exists(folder_ / "x-stampa.svg"));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "x.ipuz"));
}

// A save and the export of the same puzzle lie side by side, and either
// reopens with its title, author and the author's letters; the save keeps
// an empty square open, the export holds the whole solution.
TEST_F(StudioFilesTest, SaveAndExportBothReopen) {
  const std::string body =
      "{\"name\": \"%\", \"rows\": [\"LJ#\", \"%A\"], \"author\": [\"LJ#\", "
      "\"**\"], \"title\": \"Reka\", \"author_name\": \"Ana\"}";
  auto with = [&](std::string name, std::string square) {
    std::string text = body;
    text.replace(text.find('%'), 1, name);
    text.replace(text.find('%'), 1, square);
    return text;
  };
  ASSERT_EQ(
      SavePuzzle(folder_, Request(with("x.ipuz", "*")), alphabet_).index(), 0u);
  auto request = DecodeSave(with("x", "Š"), alphabet_, "");
  ASSERT_EQ(
      ExportPuzzle(folder_, std::get<SaveRequest>(request), alphabet_).index(),
      0u);
  const Json kept = Json::parse(
      std::get<std::string>(OpenPuzzle(folder_, "x.ipuz", alphabet_)));
  EXPECT_EQ(kept["rows"], Json::parse("[\"LJ#\", \"*A\"]"));
  const Json exported = Json::parse(
      std::get<std::string>(OpenPuzzle(folder_, "x-resenje.ipuz", alphabet_)));
  EXPECT_EQ(exported["rows"], Json::parse("[\"LJ#\", \"ŠA\"]"));
  for (const Json& opened : {kept, exported}) {
    EXPECT_EQ(opened["author"], Json::parse("[\"LJ*\", \"**\"]"));
    EXPECT_EQ(opened["title"], "Reka");
    EXPECT_EQ(opened["author_name"], "Ana");
  }
  std::ifstream file(folder_ / "x-resenje.ipuz");
  const Json ipuz = Json::parse(file);
  EXPECT_EQ(ipuz["language"], "sr-Latn");
  EXPECT_EQ(ipuz["solution"][1], Json::parse("[\"Š\", \"A\"]"));
}

// An unfinished puzzle without a title saves none, and reopens so.
TEST_F(StudioFilesTest, SaveKeepsAnEmptyTitle) {
  ASSERT_EQ(
      SavePuzzle(folder_, Request(R"({"name": "a.ipuz", "rows": ["A*"]})"),
                 alphabet_)
          .index(),
      0u);
  const Json opened = Json::parse(
      std::get<std::string>(OpenPuzzle(folder_, "a.ipuz", alphabet_)));
  EXPECT_EQ(opened["title"], "");
}

}  // namespace
}  // namespace polimreza
