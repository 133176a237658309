#pragma once

#include <optional>

namespace corvane::translation {

// What the choice list tells its window, in the window system's words
// (CBN_DROPDOWN, CBN_CLOSEUP, CBN_SELCHANGE, CBN_SELENDOK, CBN_SELENDCANCEL,
// CBN_EDITCHANGE), plus kSettled: the list has finished with the input that
// closed it (the window posts itself a message at close-up, so every
// notification sent for that input has come by then).
enum class ListNotification {
  kDropDown,
  kCloseUp,
  kSelChange,
  kSelEndOk,
  kSelEndCancel,
  kEditChange,
  kSettled,
};

// Decides which of the list's notifications are picks: a row chosen in the
// dropped-down list (a click on it, or Enter after moving there), or a key
// that moves the selection of the closed list. Nothing else: not opening and
// closing the list without choosing, not Escape, not a key that leaves the
// selection where it was, not typing, not losing the focus.
//
// The documentation leaves the order open (CBN_SELCHANGE may come before or
// after CBN_CLOSEUP; a key on the closed list may send CBN_SELENDOK before
// CBN_SELCHANGE), so nothing here depends on it.
class PickDetector {
 public:
  // `selection`: the list's selected row when the notification came, or a
  // negative number for none. Returns the picked row, if this was a pick.
  std::optional<int> OnNotification(ListNotification notification, int selection);

 private:
  enum class Phase { kClosed, kDropped, kClosing };

  Phase phase_ = Phase::kClosed;
  int settled_selection_ = -1;  // what the closed list last showed as chosen
  bool chosen_ = false;         // this drop-down ended with CBN_SELENDOK
  bool moved_ = false;          // the selection changed during this drop-down
};

}  // namespace corvane::translation
