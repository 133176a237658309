#include "translation/picks.h"

#include <utility>

namespace corvane::translation {

int EntryRow(std::u16string_view text) {
  for (std::size_t row = 0; row < kTranslationTargets.size(); ++row) {
    if (kTranslationTargets[row].entry == text) return static_cast<int>(row);
  }
  return -1;
}

bool Picks::OnInput(ListInput input, bool dropped, int row) {
  const bool valid = row >= 0 && static_cast<std::size_t>(row) < kTranslationTargets.size();
  bool picked = false;
  switch (input) {
    case ListInput::kRowClicked:
    case ListInput::kEnter:
      picked = dropped && valid;
      break;
    case ListInput::kListKey:
    case ListInput::kListKeyRepeat:
      moved_ = moved_ || dropped;
      picked = input == ListInput::kListKey && !dropped && valid && row != shown_;
      break;
    case ListInput::kDroppedDown:
      moved_ = false;
      break;
    case ListInput::kClosingKey:
      // The standard way to choose without the mouse: drop, move, close.
      picked = dropped && valid && moved_;
      break;
    case ListInput::kTyped:
      // Typed, an entry's text shows as if picked: a key that leaves it there
      // changes nothing the user sees.
      shown_ = row;
      break;
  }
  if (!picked) return false;
  shown_ = row;
  waiting_.push_back(row);
  return true;
}

const TranslationTarget* Picks::Next() {
  if (taking_ >= 0 || waiting_.empty()) return nullptr;
  taking_ = waiting_.front();
  waiting_.pop_front();
  return &kTranslationTargets[static_cast<std::size_t>(taking_)];
}

std::u16string_view Picks::Done(PickOutcome outcome) {
  const int taken = std::exchange(taking_, -1);
  if (outcome != PickOutcome::kOpened) return {};
  // After a request the list shows the prompt, not the entry.
  if (shown_ == taken) shown_ = -1;
  return kPrompt;
}

}  // namespace corvane::translation
