#pragma once

#include <deque>
#include <string_view>

#include "translation/combo1_click.h"
#include "translation/request.h"

namespace corvane::translation {

// What the user did to the choice list, as the list's own field and its
// dropped-down list saw it. The combo box's notifications are not used to
// tell a pick: which of them come, and in what order, is not documented for
// every way of closing the list (CBN_SELCHANGE is "sent when the user
// changes the current selection", so a click on the row already selected
// need send none).
enum class ListInput {
  kListKey,        // Up, Down, Page Up or Page Down pressed, once the list has taken it
  kListKeyRepeat,  // the auto-repeat of such a key held down
  kEnter,          // Enter pressed in the list's field
  kRowClicked,     // the mouse button let go on a row of the dropped-down list
  kTyped,          // the field's text edited by the user (CBN_EDITCHANGE)
  kDroppedDown,    // the list about to drop down (CBN_DROPDOWN)
  kClosingKey,     // F4, Alt+Up or Alt+Down pressed while the list is dropped, before it closes
};

// The row whose entry `text` is, exactly, or -1.
int EntryRow(std::u16string_view text);

// The choice list's picks, from what the user did to what to translate: a
// row enters here once and comes out as its translation target.
//
// A pick is a row chosen in the dropped-down list (a click on it, Enter on
// it, or a key that closes it after the highlight was moved with the
// keys), or a key on the closed list that puts an entry in the list's text
// that does not already show as the outcome of a pick: after a request the
// list shows the prompt, so the same key picks the same row again; after a
// pick that opened nothing the list keeps the entry, and a key that leaves
// it there picks nothing. A held key picks once. Nothing else picks: not
// opening and closing the list without moving in it, not moving in it, not
// Escape or a click outside it, not typing.
//
// One pick at a time: while the shell talks to a DDE handler or to COM it
// runs a modal loop, which can deliver the next pick; that one waits its
// turn and is taken after, in order.
class Picks {
 public:
  // `dropped`: whether the list was dropped down when the input came;
  // `row`: the list's selected row then, negative for none; for kRowClicked
  // the row clicked, for kTyped the row whose entry the text now is. True when this made a pick:
  // the caller then takes the picks (Next) once the list has finished its own work.
  bool OnInput(ListInput input, bool dropped, int row);

  // The next pick's target, or null when none waits or a pick is already
  // being taken further up the stack (which takes this one after its own).
  const TranslationTarget* Next();
  // What came of the pick Next gave; returns what the list shows from now
  // on: the prompt after a request, or nothing new (it keeps the entry).
  std::u16string_view Done(PickOutcome outcome);

 private:
  std::deque<int> waiting_;
  int taking_ = -1;  // the row with the shell, if any
  // The row whose entry the list's text shows as the outcome of a pick;
  // -1 while it shows the prompt or text of the user's own.
  int shown_ = -1;
  bool moved_ = false;  // the keys moved the highlight since the list dropped down
};

}  // namespace corvane::translation
