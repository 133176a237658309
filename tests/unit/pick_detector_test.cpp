#include <gtest/gtest.h>

#include <vector>

#include "translation/pick_detector.h"

namespace corvane::translation {
namespace {

using N = ListNotification;
struct Step {
  N notification;
  int selection;
};

// The orders the combo box documentation allows and the ones Wine records
// (dlls/comctl32/combo.c, dlls/user32/tests/msg.c), each from a fresh list
// showing its prompt (no selection), and the rows that must come out as picks.
TEST(PickDetector, OnlyARowChosenInTheDroppedListOrAKeyThatMovesTheClosedListPicks) {
  const struct {
    const char* what;
    std::vector<Step> steps;
    std::vector<int> picks;
  } rows[] = {
      {"click, the change after close-up (Wine), then a key that moves nothing",
       {{N::kDropDown, -1},
        {N::kSelEndOk, 1},
        {N::kCloseUp, 1},
        {N::kSelChange, 1},
        {N::kSettled, 1},
        {N::kSelEndOk, 1},
        {N::kSelChange, 1}},
       {1}},
      {"click, the change before the end and close-up",
       {{N::kDropDown, -1},
        {N::kSelChange, 0},
        {N::kSelEndOk, 0},
        {N::kCloseUp, 0},
        {N::kSettled, 0}},
       {0}},
      {"Enter after moving with the keys in the dropped list",
       {{N::kDropDown, -1},
        {N::kSelChange, 0},
        {N::kSelChange, 1},
        {N::kSelEndOk, 1},
        {N::kCloseUp, 1},
        {N::kSettled, 1}},
       {1}},
      {"a click on the row already picked picks it again",
       {{N::kSelChange, 0},
        {N::kDropDown, 0},
        {N::kSelEndOk, 0},
        {N::kCloseUp, 0},
        {N::kSelChange, 0},
        {N::kSettled, 0}},
       {0, 0}},
      {"Escape after moving, then a key that moves the closed list",
       {{N::kDropDown, -1},
        {N::kSelChange, 0},
        {N::kSelEndCancel, 0},
        {N::kCloseUp, 0},
        {N::kSettled, 0},
        {N::kSelEndOk, 1},
        {N::kSelChange, 1}},
       {1}},
      {"the button opens and closes the list without choosing (it ends with SELENDOK)",
       {{N::kDropDown, -1}, {N::kSelEndOk, -1}, {N::kCloseUp, -1}, {N::kSettled, -1}},
       {}},
      {"the same after a pick that opened nothing, the list showing that entry",
       {{N::kSelChange, 0},
        {N::kDropDown, 0},
        {N::kSelEndOk, 0},
        {N::kCloseUp, 0},
        {N::kSettled, 0}},
       {0}},
      {"F4 or Alt+Down, then closed again without moving",
       {{N::kSelChange, 1},
        {N::kDropDown, 1},
        {N::kSelEndCancel, 1},
        {N::kCloseUp, 1},
        {N::kSettled, 1}},
       {1}},
      {"keys on the closed list, SELENDOK before the change (Windows), held at either end",
       {{N::kSelEndOk, 0},
        {N::kSelChange, 0},
        {N::kSelEndOk, 1},
        {N::kSelChange, 1},
        {N::kSelEndOk, 1},
        {N::kSelChange, 1},
        {N::kSelEndOk, 1},
        {N::kSelChange, 1},
        {N::kSelEndOk, 0},
        {N::kSelChange, 0},
        {N::kSelEndOk, 0},
        {N::kSelChange, 0}},
       {0, 1, 0}},
      {"keys on the closed list, the change alone (Wine)",
       {{N::kSelChange, 0}, {N::kSelChange, 1}, {N::kSelChange, 1}},
       {0, 1}},
      {"typing an entry's text selects it silently; a key that then moves nothing",
       {{N::kEditChange, 1}, {N::kSelEndOk, 1}, {N::kSelChange, 1}},
       {}},
      {"the focus lost with the list closed",
       {{N::kSelChange, 0}, {N::kSelEndCancel, 0}, {N::kSettled, 0}},
       {0}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    PickDetector detector;
    std::vector<int> picks;
    for (const Step& step : row.steps) {
      if (const auto pick = detector.OnNotification(step.notification, step.selection)) {
        picks.push_back(*pick);
      }
    }
    EXPECT_EQ(picks, row.picks);
  }
}

}  // namespace
}  // namespace corvane::translation
