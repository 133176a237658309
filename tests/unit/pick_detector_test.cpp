#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "translation/pick_detector.h"

namespace corvane::translation {
namespace {

// A sequence of notifications, each a letter and the list's selection then
// (a digit, or - for none): D drop-down, C close-up, S selection change,
// O end with a choice, X end without one, E edit change, T settled.
std::vector<int> Picks(std::string_view sequence) {
  PickDetector detector;
  std::vector<int> picks;
  for (std::size_t at = 0; at + 1 < sequence.size(); at += 3) {
    static constexpr std::string_view kLetters = "DCSOXET";
    const auto notification = static_cast<ListNotification>(kLetters.find(sequence[at]));
    const int selection = sequence[at + 1] == '-' ? -1 : sequence[at + 1] - '0';
    if (const auto pick = detector.OnNotification(notification, selection)) picks.push_back(*pick);
  }
  return picks;
}

// The orders the combo box documentation allows and the ones Wine records
// (dlls/comctl32/combo.c, dlls/user32/tests/msg.c), each from a fresh list
// showing its prompt (no selection), and the rows that must come out as picks.
TEST(PickDetector, OnlyARowChosenInTheDroppedListOrAKeyThatMovesTheClosedListPicks) {
  const struct {
    const char* what;
    std::string_view sequence;
    std::vector<int> picks;
  } rows[] = {
      {"click, the change after close-up (Wine), then a key that moves nothing",
       "D- O1 C1 S1 T1 O1 S1",
       {1}},
      {"click, the change before the end and close-up", "D- S0 O0 C0 T0", {0}},
      {"Enter after moving with the keys in the dropped list", "D- S0 S1 O1 C1 T1", {1}},
      {"a click on the row already picked picks it again", "S0 D0 O0 C0 S0 T0", {0, 0}},
      {"Escape after moving, then a key that moves the closed list", "D- S0 X0 C0 T0 O1 S1", {1}},
      {"the button opens and closes the list without choosing (it ends with SELENDOK)",
       "D- O- C- T-",
       {}},
      {"the same after a pick that opened nothing, the list showing that entry",
       "S0 D0 O0 C0 T0",
       {0}},
      {"F4 or Alt+Down, then closed again without moving", "S1 D1 X1 C1 T1", {1}},
      {"keys on the closed list, SELENDOK before the change (Windows), held at either end",
       "O0 S0 O1 S1 O1 S1 O1 S1 O0 S0 O0 S0",
       {0, 1, 0}},
      {"keys on the closed list, the change alone (Wine)", "S0 S1 S1", {0, 1}},
      {"typing an entry's text selects it silently; a key that then moves nothing", "E1 O1 S1", {}},
      {"the focus lost with the list closed", "S0 X0 T0", {0}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Picks(row.sequence), row.picks) << row.what;
  }
}

}  // namespace
}  // namespace corvane::translation
