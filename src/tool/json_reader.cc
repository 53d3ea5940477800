#include "tool/json_reader.h"

namespace polimreza {

std::variant<nlohmann::ordered_json, JsonProblem> ReadJson(
    std::string_view text) {
  using Json = nlohmann::ordered_json;
  bool too_deep = false;
  // The parser itself keeps its nesting on the heap; refusing a container
  // past the bound keeps it and everything in it from being built.
  const Json::parser_callback_t limit =
      [&too_deep](int depth, Json::parse_event_t event, Json&) {
        const bool opens = event == Json::parse_event_t::object_start ||
                           event == Json::parse_event_t::array_start;
        if (opens && depth >= kMaxJsonDepth) too_deep = true;
        return !too_deep;
      };
  Json value = Json::parse(text, limit, false);
  if (too_deep) return JsonProblem::kTooDeep;
  if (value.is_discarded()) return JsonProblem::kMalformed;
  return value;
}

}  // namespace polimreza
