// JSON text read with a bound on how deeply arrays and objects nest: nothing
// nested deeper is ever built, so no value read this way is copied, printed
// or destroyed by a recursion deeper than the bound.
#ifndef POLIMREZA_TOOL_JSON_READER_H_
#define POLIMREZA_TOOL_JSON_READER_H_

#include <nlohmann/json.hpp>
#include <string_view>
#include <variant>

namespace polimreza {

// The most arrays and objects a JSON text read here may nest.
inline constexpr int kMaxJsonDepth = 64;

enum class JsonProblem {
  kMalformed,  // not JSON
  kTooDeep,    // nests more than kMaxJsonDepth arrays and objects
};

// `text` as a JSON value, or why it is none.
std::variant<nlohmann::ordered_json, JsonProblem> ReadJson(
    std::string_view text);

}  // namespace polimreza

#endif  // POLIMREZA_TOOL_JSON_READER_H_
