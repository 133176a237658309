// What screen readers and high-contrast users get of the main window, asked
// as they ask: through oleacc, from the window and from win events.

#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "main_window/form1.h"
#include "platform/win32/scoped.h"
#include "support/design.h"
#include "support/environment.h"
#include "support/form_fixture.h"
#include "support/wait.h"

namespace corvane {
namespace {

using design::Pixels;
using testing::TestDpi;

VARIANT ChildId(long id) {
  VARIANT child{};
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}

std::u16string Name(IAccessible* object, long id) {
  BSTR name = nullptr;
  if (FAILED(object->get_accName(ChildId(id), &name)) || name == nullptr) return u"(no name)";
  const win32::ScopedBstr owned(name);
  return {name, name + SysStringLen(name)};
}

long Role(IAccessible* object, long id) {
  VARIANT role{};
  if (FAILED(object->get_accRole(ChildId(id), &role)) || role.vt != VT_I4) return -1;
  return role.lVal;
}

class Accessibility : public testing::FormFixture, public ::testing::Test {
 protected:
  Accessibility() : FormFixture(win32::Dpi::Lookup::kNewerWhereAvailable) {}
  void SetUp() override { ASSERT_TRUE(form.Show(SW_SHOWNORMAL)); }
};

TEST_F(Accessibility, TheLinkIsAChildWithItsNameRolePlaceAndAClickAsItsAction) {
  ASSERT_TRUE(ole.Ensure());
  win32::ComPtr<IAccessible> client;
  ASSERT_HRESULT_SUCCEEDED(AccessibleObjectFromWindow(
      form.Hwnd(), OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(client.put())));
  long count = 0;
  ASSERT_HRESULT_SUCCEEDED(client->get_accChildCount(&count));
  ASSERT_EQ(count, 2) << "the list and the link";
  VARIANT children[2] = {};
  LONG got = 0;
  ASSERT_HRESULT_SUCCEEDED(AccessibleChildren(client.get(), 0, 2, children, &got));
  ASSERT_EQ(got, 2);
  // The system's own object for the list stays first.
  ASSERT_EQ(children[0].vt, VT_DISPATCH);
  win32::ComPtr<IAccessible> list;
  ASSERT_HRESULT_SUCCEEDED(children[0].pdispVal->QueryInterface(
      __uuidof(IAccessible), reinterpret_cast<void**>(list.put())));
  children[0].pdispVal->Release();
  HWND list_window = nullptr;
  EXPECT_HRESULT_SUCCEEDED(WindowFromAccessibleObject(list.get(), &list_window));
  EXPECT_EQ(list_window, form.Combo1());
  ASSERT_EQ(children[1].vt, VT_I4) << "the link is a simple element of the client area";
  const long link = children[1].lVal;

  EXPECT_EQ(Role(client.get(), link), ROLE_SYSTEM_LINK);
  EXPECT_EQ(Name(client.get(), link), design::kLabel1Caption);
  const int dpi = TestDpi();
  POINT origin{0, 0};
  ClientToScreen(form.Hwnd(), &origin);
  long left = 0, top = 0, width = 0, height = 0;
  ASSERT_HRESULT_SUCCEEDED(client->accLocation(&left, &top, &width, &height, ChildId(link)));
  EXPECT_EQ(left, origin.x + Pixels(design::kLabel1.left, dpi));
  EXPECT_EQ(top, origin.y + Pixels(design::kLabel1.top, dpi));
  EXPECT_GT(width, 0);
  EXPECT_GT(height, 0);
  VARIANT hit{};
  ASSERT_HRESULT_SUCCEEDED(client->accHitTest(left + width / 2, top + height / 2, &hit));
  EXPECT_TRUE(hit.vt == VT_I4 && hit.lVal == link) << "the point on the link is not the link";

  const HWND focus = GetFocus();
  EXPECT_HRESULT_SUCCEEDED(client->accDoDefaultAction(ChildId(link)));
  EXPECT_HRESULT_SUCCEEDED(client->accDoDefaultAction(ChildId(link)));
  Pump();
  EXPECT_EQ(label_clicks, 2) << "the default action is not a click";
  EXPECT_EQ(GetFocus(), focus);

  // Once the window is gone, the object a reader still holds says so.
  SendMessageW(form.Hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(client->accDoDefaultAction(ChildId(link)), CO_E_OBJNOTCONNECTED);
}

struct Alert {
  HWND window;
  LONG object;
  LONG child;
};
std::vector<Alert>& Alerts() {
  static std::vector<Alert> alerts;
  return alerts;
}
void CALLBACK OnAlert(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
  Alerts().push_back({window, object, child});
}

TEST_F(Accessibility, TheHintIsAnnouncedAsAnAlertWithItsText) {
  ASSERT_TRUE(ole.Ensure());
  Alerts().clear();
  const HWINEVENTHOOK hook = SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr,
                                             OnAlert, 0, 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  Key(VK_DOWN);  // no browser: the hint says so
  ASSERT_TRUE(testing::WaitUntil([] { return !Alerts().empty(); }, 3000)) << "no alert";
  UnhookWinEvent(hook);
  const Alert alert = Alerts().front();
  EXPECT_EQ(alert.window, form.Hwnd());
  win32::ComPtr<IAccessible> object;
  VARIANT child{};
  ASSERT_HRESULT_SUCCEEDED(
      AccessibleObjectFromEvent(alert.window, alert.object, alert.child, object.put(), &child));
  EXPECT_EQ(Role(object.get(), child.lVal), ROLE_SYSTEM_ALERT);
  EXPECT_EQ(Name(object.get(), child.lVal), design::kHintNoBrowser);
  VARIANT state{};
  ASSERT_HRESULT_SUCCEEDED(object->get_accState(ChildId(child.lVal), &state));
  EXPECT_EQ(
      state.lVal & (STATE_SYSTEM_ALERT_LOW | STATE_SYSTEM_ALERT_MEDIUM | STATE_SYSTEM_ALERT_HIGH),
      STATE_SYSTEM_ALERT_HIGH)
      << "an alert must say how urgent it is: without a level it reads as cleared";
  HWND window = nullptr;
  EXPECT_HRESULT_SUCCEEDED(WindowFromAccessibleObject(object.get(), &window));
  EXPECT_EQ(window, form.Hwnd()) << "the alert belongs to no window";
  // Its parent, the client, lists it after the list and the link.
  win32::ComPtr<IAccessible> parent;
  ASSERT_HRESULT_SUCCEEDED(
      AccessibleObjectFromWindow(form.Hwnd(), OBJID_CLIENT, IID_PPV_ARGS(parent.put())));
  VARIANT children[3] = {};
  LONG got = 0;
  ASSERT_HRESULT_SUCCEEDED(AccessibleChildren(parent.get(), 0, 3, children, &got));
  ASSERT_EQ(got, 3) << "its parent does not list the alert";
  ASSERT_EQ(children[2].vt, VT_DISPATCH);
  win32::ComPtr<IAccessible> listed;
  ASSERT_HRESULT_SUCCEEDED(children[2].pdispVal->QueryInterface(IID_PPV_ARGS(listed.put())));
  for (const VARIANT& listed_child : children) {
    if (listed_child.vt == VT_DISPATCH) listed_child.pdispVal->Release();
  }
  EXPECT_EQ(Name(listed.get(), CHILDID_SELF), design::kHintNoBrowser);
  // Once the hint is gone, so is the alert, and it is not the next hint's
  // either. A dead object still clears what it is given to fill.
  SetWindowPos(form.Hwnd(), nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const auto dead = [&](const char* when) {
    wchar_t stale[] = L"stale";
    BSTR name = stale;
    EXPECT_EQ(object->get_accName(ChildId(child.lVal), &name), CO_E_OBJNOTCONNECTED) << when;
    EXPECT_EQ(name, nullptr) << when;
  };
  dead("after the hint went");
  Key(VK_DOWN);
  ASSERT_TRUE(form.Hint().Visible());
  dead("while the next hint shows");
}

// Two screen readers walking the window's children at once, each through
// the object it asked for, both find the list and the link.
TEST_F(Accessibility, TwoClientsEnumeratingAtOnceEachSeeEveryChild) {
  ASSERT_TRUE(ole.Ensure());
  win32::ComPtr<IEnumVARIANT> clients[2];
  for (auto& client : clients) {
    ASSERT_HRESULT_SUCCEEDED(
        AccessibleObjectFromWindow(form.Hwnd(), OBJID_CLIENT, IID_PPV_ARGS(client.put())));
    ASSERT_HRESULT_SUCCEEDED(client->Reset());
  }
  for (const VARTYPE expected : {VT_DISPATCH, VT_I4}) {
    for (auto& client : clients) {
      VARIANT child{};
      ULONG got = 0;
      EXPECT_EQ(client->Next(1, &child, &got), S_OK);
      EXPECT_EQ(child.vt, expected) << "a child missed: the list is an object, the link an id";
      if (child.vt == VT_DISPATCH) child.pdispVal->Release();
    }
  }
  SendMessageW(form.Hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(clients[0]->Reset(), CO_E_OBJNOTCONNECTED) << "the window is gone";
}

std::uint32_t ScreenPixel(POINT at) {
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, at.x, at.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

// Whether some pixel of `rect` (screen) has `colour`.
bool Shows(const RECT& rect, COLORREF colour) {
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) {
      if (ScreenPixel({x, y}) == colour) return true;
    }
  }
  return false;
}

class HighContrast : public testing::FormFixture, public ::testing::Test {
 protected:
  HighContrast()
      : FormFixture(win32::Dpi::Lookup::kNewerWhereAvailable,
                    win32::Contrast::Source::kAlwaysHigh) {}
};

TEST_F(HighContrast, TheWindowTakesTheSystemsColoursAndFollowsTheirChange) {
  ASSERT_TRUE(form.Show(SW_SHOWNORMAL));
  SetForegroundWindow(form.Hwnd());
  // The list's text and background.
  const win32::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  SendMessageW(form.Hwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.get()),
               reinterpret_cast<LPARAM>(GetWindow(form.Combo1(), GW_CHILD)));
  EXPECT_EQ(GetTextColor(dc.get()), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(GetBkColor(dc.get()), GetSysColor(COLOR_WINDOW));

  // The window's colour where the picture would be; the label in the link colour.
  RECT label = form.Label1().Bounds();
  MapWindowPoints(form.Hwnd(), nullptr, reinterpret_cast<POINT*>(&label), 2);
  POINT corner{4, 4};
  ClientToScreen(form.Hwnd(), &corner);
  const auto check = [&](const char* when) {
    SCOPED_TRACE(when);
    Pump();
    UpdateWindow(form.Hwnd());
    EXPECT_EQ(ScreenPixel(corner), GetSysColor(COLOR_WINDOW)) << "the picture shows";
    EXPECT_TRUE(Shows(label, GetSysColor(COLOR_HOTLIGHT))) << "no link-coloured pixel";
  };
  check("as shown");

  // Another theme while it runs: the window repaints in its colours.
  const INT elements[] = {COLOR_WINDOW, COLOR_HOTLIGHT, COLOR_WINDOWTEXT};
  const COLORREF before[] = {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_HOTLIGHT),
                             GetSysColor(COLOR_WINDOWTEXT)};
  const COLORREF theme[] = {RGB(0, 0, 0), RGB(0xFF, 0xFF, 0), RGB(0xFF, 0xFF, 0xFF)};
  ASSERT_TRUE(SetSysColors(3, elements, theme));
  check("after the colours changed");
  SetSysColors(3, elements, before);
}

}  // namespace
}  // namespace corvane
