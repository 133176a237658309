#pragma once

#include <windows.h>

#include <string_view>

#include "translation/picks.h"

namespace corvane::main_window {

// Combo1, the editable drop-down list of translation targets. It tells the
// picks what the user does to it, as its own field and its dropped-down
// list see it (the keys, their auto-repeat, the row a click lets go on), and
// asks its parent to take a pick once it has finished its own work.
class ChoiceList {
 public:
  // Posted to the parent when a pick waits.
  static constexpr UINT kTakePicksMessage = WM_APP + 1;

  explicit ChoiceList(translation::Picks& picks) : picks_(picks) {}
  ChoiceList(const ChoiceList&) = delete;
  ChoiceList& operator=(const ChoiceList&) = delete;

  // Makes the list, child `id` of `parent`; the parent sizes it and gives
  // it its font.
  bool Create(HWND parent, int id);
  // Adds the choice table's entries and puts `text` in the field.
  void Fill(std::u16string_view text);
  HWND Hwnd() const { return combo_; }
  void SetText(std::u16string_view text);
  // The list's notification `code`, from the parent's WM_COMMAND.
  void OnCommand(UINT code);

 private:
  static LRESULT CALLBACK ComboProc(HWND combo, UINT message, WPARAM wparam, LPARAM lparam,
                                    UINT_PTR id, DWORD_PTR self);
  static LRESULT CALLBACK FieldProc(HWND field, UINT message, WPARAM wparam, LPARAM lparam,
                                    UINT_PTR id, DWORD_PTR self);
  static LRESULT CALLBACK DroppedListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam,
                                          UINT_PTR id, DWORD_PTR self);
  bool Dropped() const;
  int Selection() const;
  void Tell(translation::ListInput input, bool dropped, int row);

  translation::Picks& picks_;
  HWND combo_ = nullptr;
};

}  // namespace corvane::main_window
