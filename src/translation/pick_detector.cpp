#include "translation/pick_detector.h"

namespace corvane::translation {

std::optional<int> PickDetector::OnNotification(ListNotification notification, int selection) {
  switch (notification) {
    case ListNotification::kDropDown:
      phase_ = Phase::kDropped;
      chosen_ = false;
      moved_ = false;
      return std::nullopt;
    case ListNotification::kSelEndOk:
      // On the closed list this comes with every key, moved or not: only the
      // selection change that may follow tells.
      if (phase_ != Phase::kClosed) chosen_ = true;
      return std::nullopt;
    case ListNotification::kSelEndCancel:
      return std::nullopt;  // Escape, a click elsewhere, the focus lost: no choice
    case ListNotification::kCloseUp:
      if (phase_ == Phase::kDropped) phase_ = Phase::kClosing;
      return std::nullopt;
    case ListNotification::kSelChange:
      if (phase_ != Phase::kClosed) {
        // A click in the list reports itself as a change even on the row
        // already selected; the button that closes the list does not.
        moved_ = true;
        return std::nullopt;
      }
      if (selection == settled_selection_) return std::nullopt;  // a key that moved nothing
      settled_selection_ = selection;
      if (selection < 0) return std::nullopt;
      return selection;
    case ListNotification::kEditChange:
      // Typing may select a matching row without a selection change.
      if (phase_ == Phase::kClosed) settled_selection_ = selection;
      return std::nullopt;
    case ListNotification::kSettled: {
      if (phase_ != Phase::kClosing) return std::nullopt;
      phase_ = Phase::kClosed;
      settled_selection_ = selection;
      if (!chosen_ || !moved_ || selection < 0) return std::nullopt;
      return selection;
    }
  }
  return std::nullopt;
}

}  // namespace corvane::translation
