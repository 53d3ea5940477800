// Setting up one search or query: the slots that take part, the problem
// and its initial state, the forbidden words, the weak words, and the
// caller's stop asked during the setup.

#include "search/instance.h"

#include <cassert>
#include <string>

#include "search/lexicon.h"

namespace polimreza {

namespace {

// Units of setup work (slots set up, words indexed) between two questions
// to the caller's stop: a small grid with small lists asks none.
constexpr std::uint64_t kSetupWorkPerCheck = std::uint64_t{1} << 16;

}  // namespace

Instance::Instance(const SearchOptions& search_options,
                   SearchLexicons& search_lexicons)
    : options(search_options),
      lexicons(search_lexicons),
      order(problem, store, search_options.seed),
      nogoods(store),
      propagator(problem, store, order, nogoods, weak, search_options,
                 [this] { return StopAsked(); }) {}

bool Instance::Setup(const Grid& grid, std::size_t keep) {
  std::vector<Slot> active;
  inner.assign(slots.size(), kNone);
  for (std::size_t k = 0; k < slots.size(); ++k) {
    if (k != keep && options.active && !options.active(slots[k])) continue;
    inner[k] = static_cast<std::uint32_t>(outer.size());
    outer.push_back(static_cast<std::uint32_t>(k));
    active.push_back(slots[k]);
  }
  const Problem::Tick tick = [this](std::size_t units) { SetupTick(units); };
  if (!problem.Build(grid, active, lexicons, tick)) return false;
  // A slot that no word fits before any other slot is filled.
  std::uint32_t empty = store.Reset(problem, tick);
  if (!options.forbidden.empty()) {
    Forbid();
    empty = FirstEmpty();
  }
  if (empty != kNone) {
    unfillable = outer[empty];
    return false;
  }
  assert(outer.size() == problem.SlotCount());
  weak.Build(problem, options.weak, tick);
  order.Reset();
  propagator.Reset();
  return true;
}

// Forbidden words leave their slots at the root, where nothing undoes them;
// the slots' counts follow on their first revision.
void Instance::Forbid() {
  for (const auto& [k, word] : options.forbidden) {
    if (k >= inner.size() || inner[k] == kNone) continue;
    const std::uint32_t s = inner[k];
    const Lexicon& lexicon = *problem.SlotAt(s).lexicon;
    if (word.size() != lexicon.Length()) continue;
    const std::uint32_t id = lexicon.Find(word);
    if (id != kNone) store.RemoveWord(s, id);
  }
}

// The first slot with no word left; kNone when every slot has one.
std::uint32_t Instance::FirstEmpty() const {
  for (std::uint32_t s = 0; s < problem.SlotCount(); ++s) {
    if (store.FirstWord(s) == kNone) return s;
  }
  return kNone;
}

void Instance::SetupTick(std::size_t units) {
  setup_work_ += units;
  if (setup_work_ < kSetupWorkPerCheck) return;
  setup_work_ = 0;
  if (StopAsked()) throw StopRequested();
}

bool Instance::StopAsked() const {
  return options.stop &&
         options.stop({nodes, store.Fixed().size(), problem.SlotCount()});
}

SlotWord Instance::WordOf(std::uint32_t s, std::uint32_t id) const {
  const Lexicon& lexicon = *problem.SlotAt(s).lexicon;
  return {std::string(lexicon.Word(id)), lexicon.Entry(id)};
}

}  // namespace polimreza
