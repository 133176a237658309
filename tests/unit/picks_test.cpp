#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "support/design.h"
#include "translation/picks.h"

namespace corvane::translation {
namespace {

// The rows picked by a sequence of inputs, each a letter and the row then
// (a digit, or - for none): K a list key, R its auto-repeat, N Enter, L a
// row clicked, T typing, D the list dropping down, C a key that closes it
// (F4, Alt+Up); upper case with the list closed, lower case with it
// dropped down. Every pick is taken at once; `opens` says whether the shell
// opens its request (the list then shows the prompt) or not (it keeps the entry).
std::vector<int> Picked(std::string_view sequence, bool opens) {
  Picks picks;
  std::vector<int> rows;
  for (std::size_t at = 0; at + 1 < sequence.size(); at += 3) {
    static constexpr std::string_view kLetters = "KRNLTDC";
    const char letter = sequence[at];
    const bool dropped = letter >= 'a';
    const char upper = dropped ? static_cast<char>(letter - 'a' + 'A') : letter;
    const auto input = static_cast<ListInput>(kLetters.find(upper));
    const int row = sequence[at + 1] == '-' ? -1 : sequence[at + 1] - '0';
    if (!picks.OnInput(input, dropped, row)) continue;
    const TranslationTarget* target = picks.Next();
    if (target == nullptr) return {-2};  // a pick that could not be taken
    rows.push_back(target->entry == design::kRow1 ? 0 : 1);
    picks.Done(opens ? PickOutcome::kOpened : PickOutcome::kNoBrowser);
  }
  return rows;
}

TEST(Picks, ARowChosenInTheDroppedListOrAKeyThatPutsAnEntryInTheClosedListsTextPicks) {
  const struct {
    const char* what;
    std::string_view sequence;
    bool opens;
    std::vector<int> picked;
  } rows[] = {
      {"a key that moves the closed list picks; held, it picks once", "K0 R1 R1", true, {0}},
      {"after a request the list shows the prompt: the same key picks the same row again",
       "K1 K1 K1",
       true,
       {1, 1, 1}},
      {"after a pick that opened nothing the entry stays: a key that leaves it picks nothing",
       "K1 K1 K0",
       false,
       {1, 0}},
      {"the row a held key left in the list is picked by the next press", "K0 R1 K1", true, {0, 1}},
      {"a click on a row picks it, the row already selected too, whatever the list notifies",
       "l1 l1",
       false,
       {1, 1}},
      {"Enter picks the row it shows in the dropped list; with none shown, nothing",
       "n- k0 n0",
       true,
       {0}},
      {"moving in the dropped list and closing it another way (Escape, a click outside, the "
       "button) picks nothing; the next key on the closed list does",
       "k0 k1 K1",
       true,
       {1}},
      {"Enter on the closed list picks nothing", "N0", true, {}},
      {"F4 or Alt+Up after the keys moved the highlight picks the highlighted row",
       "D- k1 c1",
       true,
       {1}},
      {"F4 or Alt+Up without a move since the list dropped picks nothing",
       "D1 c1 D1 k0 D0 c0",
       true,
       {}},
      {"typing an entry's text shows it as a pick would: a key that leaves it picks nothing",
       "T1 K1 K0",
       true,
       {0}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Picked(row.sequence, row.opens), row.picked) << row.what;
  }
}

// The shell's DDE and COM calls run a modal loop in which the next pick can
// arrive: it waits for the one inside the shell.
TEST(Picks, APickArrivingWhileOneIsWithTheShellIsTakenAfterItInOrder) {
  Picks picks;
  const auto next = [&picks] {
    const TranslationTarget* target = picks.Next();
    return target != nullptr ? target->entry : std::u16string_view(u"(none)");
  };
  ASSERT_TRUE(picks.OnInput(ListInput::kListKey, false, 0));
  EXPECT_EQ(next(), design::kRow1);
  picks.OnInput(ListInput::kListKey, false, 1);
  EXPECT_EQ(next(), u"(none)") << "a pick went to the shell inside another";
  picks.OnInput(ListInput::kListKey, false, 0);
  for (const std::u16string_view entry : {design::kRow2, design::kRow1}) {
    picks.Done(PickOutcome::kOpened);
    EXPECT_EQ(next(), entry) << "the waiting picks were not taken in the order they came";
  }
}

}  // namespace
}  // namespace corvane::translation
