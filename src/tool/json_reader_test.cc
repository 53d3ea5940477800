#include "tool/json_reader.h"

#include <string>

#include "gtest/gtest.h"

namespace polimreza {
namespace {

std::string Nested(std::size_t depth) {
  return std::string(depth, '[') + std::string(depth, ']');
}

TEST(JsonReaderTest, NestingUpToTheBoundIsRead) {
  auto value = ReadJson(Nested(kMaxJsonDepth));
  ASSERT_EQ(value.index(), 0u);
  EXPECT_TRUE(std::get<0>(value).is_array());
  auto object = ReadJson(R"({"a": [1, {"b": "c"}]})");
  ASSERT_EQ(object.index(), 0u);
  EXPECT_EQ(std::get<0>(object)["a"][1]["b"], "c");
}

// A hundred thousand arrays in 200 KB: refused without building them (a
// value this deep would overflow the stack when copied).
TEST(JsonReaderTest, DeeperNestingIsRefused) {
  EXPECT_EQ(std::get<JsonProblem>(ReadJson(Nested(kMaxJsonDepth + 1))),
            JsonProblem::kTooDeep);
  EXPECT_EQ(std::get<JsonProblem>(ReadJson(Nested(100000))),
            JsonProblem::kTooDeep);
  EXPECT_EQ(
      std::get<JsonProblem>(ReadJson("{\"title\": " + Nested(100000) + "}")),
      JsonProblem::kTooDeep);
  // Unclosed, too: the bound is met before the end is seen.
  EXPECT_EQ(std::get<JsonProblem>(ReadJson(std::string(100000, '['))),
            JsonProblem::kTooDeep);
}

TEST(JsonReaderTest, MalformedTextIsNoJson) {
  for (const char* text : {"", "{", "[1,]", "nul"}) {
    EXPECT_EQ(std::get<JsonProblem>(ReadJson(text)), JsonProblem::kMalformed)
        << text;
  }
}

}  // namespace
}  // namespace polimreza
