#pragma once

#include <windows.h>

#include <functional>
#include <string_view>
#include <utility>

#include "translation/picks.h"

namespace corvane::main_window {

// Combo1, the editable drop-down list of translation targets. It keeps its
// own picks, as a control keeps its own state: it tells them what the user
// does to it, as its own field and its dropped-down list see it (the keys,
// their auto-repeat, the row a click lets go on), takes each pick once it
// has finished its own work, and asks its owner one thing: what came of it.
// While a pick is taken the list shows its entry; after it, what the picks
// say it shows.
class ChoiceList {
 public:
  // The one thing the list asks its owner of each pick: what came of it.
  using WhatCameOf = std::function<translation::PickOutcome(const translation::TranslationTarget&)>;

  explicit ChoiceList(WhatCameOf what_came_of) : what_came_of_(std::move(what_came_of)) {}
  ChoiceList(const ChoiceList&) = delete;
  ChoiceList& operator=(const ChoiceList&) = delete;

  // Makes the list, child `id` of `parent`; the parent sizes it and gives
  // it its font.
  bool Create(HWND parent, int id);
  // Adds the choice table's entries and puts `text` in the field.
  void Fill(std::u16string_view text);
  HWND Hwnd() const { return combo_; }
  // The list's notification `code`, from the parent's WM_COMMAND.
  void OnCommand(UINT code);

 private:
  // Posted to the list itself when a pick waits.
  static constexpr UINT kTakePicksMessage = WM_APP + 1;

  static LRESULT CALLBACK ComboProc(HWND combo, UINT message, WPARAM wparam, LPARAM lparam,
                                    UINT_PTR id, DWORD_PTR self);
  static LRESULT CALLBACK FieldProc(HWND field, UINT message, WPARAM wparam, LPARAM lparam,
                                    UINT_PTR id, DWORD_PTR self);
  static LRESULT CALLBACK DroppedListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam,
                                          UINT_PTR id, DWORD_PTR self);
  bool Dropped() const;
  int Selection() const;
  void SetText(std::u16string_view text);
  void Tell(translation::ListInput input, bool dropped, int row);
  // Takes the picks that wait, in order, while the list is there.
  void TakePicks();

  WhatCameOf what_came_of_;
  translation::Picks picks_;
  HWND combo_ = nullptr;
};

}  // namespace corvane::main_window
