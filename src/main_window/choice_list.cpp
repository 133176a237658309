#include "main_window/choice_list.h"

#include <commctrl.h>
#include <windowsx.h>

#include "platform/win32/text.h"
#include "platform/win32/trace.h"

namespace corvane::main_window {

namespace {

using translation::ListInput;

// The keys the list's field hands on to the list (Wine's edit.c,
// EDIT_CheckCombo): they move its selection and write its entry in the field.
bool IsListKey(WPARAM key) {
  return key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT;
}

// F4, and Alt+Up or Alt+Down (WM_SYSKEYDOWN), open and close the list.
bool IsClosingKey(UINT message, WPARAM key) {
  return (message == WM_KEYDOWN && key == VK_F4) ||
         (message == WM_SYSKEYDOWN && (key == VK_UP || key == VK_DOWN));
}

// WM_KEYDOWN: bit 30 of lParam is the key's previous state, set for the
// auto-repeats of a held key.
bool IsRepeat(LPARAM lparam) { return (static_cast<DWORD>(lparam) & (1UL << 30)) != 0; }

// The row of `list` whose item holds `at` (client coordinates), or -1.
int RowAt(HWND list, POINT at) {
  const auto found =
      static_cast<DWORD>(SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(at.x, at.y)));
  if (HIWORD(found) != 0) return -1;  // outside the list's client area
  const int row = LOWORD(found);
  RECT item{};
  if (SendMessageW(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item)) == LB_ERR) return -1;
  // LB_ITEMFROMPOINT gives the nearest row for a point below the last one.
  return PtInRect(&item, at) != FALSE ? row : -1;
}

}  // namespace

bool ChoiceList::Create(HWND parent, int id) {
  combo_ = CreateWindowExW(
      0, WC_COMBOBOXW, L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 0, 0, 0,
      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  if (combo_ == nullptr) return win32::TraceLastError();
  COMBOBOXINFO parts{};
  parts.cbSize = sizeof(parts);
  if (!GetComboBoxInfo(combo_, &parts)) win32::TraceLastError();
  const auto self = reinterpret_cast<DWORD_PTR>(this);
  if (!SetWindowSubclass(combo_, ComboProc, 0, self) ||
      !SetWindowSubclass(parts.hwndItem, FieldProc, 0, self) ||
      !SetWindowSubclass(parts.hwndList, DroppedListProc, 0, self)) {
    win32::TraceLastError();
  }
  return true;
}

void ChoiceList::Fill(std::u16string_view text) {
  for (const auto& target : translation::kTranslationTargets) {
    ComboBox_AddString(combo_, win32::ToWide(target.entry).c_str());
  }
  SetText(text);
}

void ChoiceList::SetText(std::u16string_view text) {
  SetWindowTextW(combo_, win32::ToWide(text).c_str());
}

void ChoiceList::OnCommand(UINT code) {
  if (code == CBN_DROPDOWN) Tell(ListInput::kDroppedDown, false, Selection());
  if (code != CBN_EDITCHANGE) return;
  wchar_t text[64] = {};
  const int length = GetWindowTextW(combo_, text, 64);
  Tell(ListInput::kTyped, Dropped(),
       translation::EntryRow(win32::FromWide({text, static_cast<std::size_t>(length)})));
}

bool ChoiceList::Dropped() const { return ComboBox_GetDroppedState(combo_) != FALSE; }

int ChoiceList::Selection() const { return ComboBox_GetCurSel(combo_); }

void ChoiceList::Tell(ListInput input, bool dropped, int row) {
  // Taken once the combo box has finished with the input.
  if (picks_.OnInput(input, dropped, row)) PostMessageW(combo_, kTakePicksMessage, 0, 0);
}

void ChoiceList::TakePicks() {
  while (const translation::TranslationTarget* target = picks_.Next()) {
    SetText(target->entry);
    const translation::PickOutcome outcome = what_came_of_(*target);
    // The shell's modal loop can close the window: what waits goes with the
    // list, and its handle may already name another window.
    if (combo_ == nullptr) return;
    if (const std::u16string_view shown = picks_.Done(outcome); !shown.empty()) SetText(shown);
  }
}

// Windows moves a closed combo box's selection one entry a wheel notch, and
// from Windows 10 on the wheel reaches it under the pointer even while
// another window is active: every notch passing over it would change the
// entry. So the closed list ignores the wheel; dropped down, its list
// scrolls as ever. Wine's combo box moves on a wheel message as Windows'
// does; only a real notch over the focused field stops at Wine's edit
// control, which does not pass it on to the list as DefWindowProc does on
// Windows.
LRESULT CALLBACK ChoiceList::ComboProc(HWND combo, UINT message, WPARAM wparam, LPARAM lparam,
                                       UINT_PTR id, DWORD_PTR self) {
  auto& list = *reinterpret_cast<ChoiceList*>(self);
  if (message == WM_MOUSEWHEEL && ComboBox_GetDroppedState(combo) == FALSE) return 0;
  if (message == kTakePicksMessage) {
    list.TakePicks();
    return 0;
  }
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(combo, ComboProc, id);
    list.combo_ = nullptr;
  }
  return DefSubclassProc(combo, message, wparam, lparam);
}

// The field gets the keyboard: it hands list keys on to the list without
// their auto-repeat bit, so the key is seen here.
LRESULT CALLBACK ChoiceList::FieldProc(HWND field, UINT message, WPARAM wparam, LPARAM lparam,
                                       UINT_PTR id, DWORD_PTR self) {
  auto& list = *reinterpret_cast<ChoiceList*>(self);
  if (message == WM_KEYDOWN && wparam == VK_RETURN) {
    list.Tell(ListInput::kEnter, list.Dropped(), list.Selection());
  } else if (IsClosingKey(message, wparam) && list.Dropped()) {
    // Seen before the list closes, with the row it highlights.
    list.Tell(ListInput::kClosingKey, true, list.Selection());
  } else if (message == WM_KEYDOWN && IsListKey(wparam)) {
    const bool dropped = list.Dropped();
    if (IsRepeat(lparam)) {
      list.Tell(ListInput::kListKeyRepeat, dropped, -1);
    } else {
      const LRESULT result = DefSubclassProc(field, message, wparam, lparam);
      // The list has taken the key: its selection is what the key chose.
      list.Tell(ListInput::kListKey, dropped, list.Selection());
      return result;
    }
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(field, FieldProc, id);
  }
  return DefSubclassProc(field, message, wparam, lparam);
}

// A click on a row picks it, whatever the combo box notifies with it: on
// Windows a click on the row already selected may send no CBN_SELCHANGE.
LRESULT CALLBACK ChoiceList::DroppedListProc(HWND list_box, UINT message, WPARAM wparam,
                                             LPARAM lparam, UINT_PTR id, DWORD_PTR self) {
  auto& list = *reinterpret_cast<ChoiceList*>(self);
  if (message == WM_LBUTTONUP && list.Dropped()) {
    const int row = RowAt(list_box, {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
    if (row >= 0) list.Tell(ListInput::kRowClicked, true, row);
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(list_box, DroppedListProc, id);
  }
  return DefSubclassProc(list_box, message, wparam, lparam);
}

}  // namespace corvane::main_window
