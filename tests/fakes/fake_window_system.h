#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/window_system.h"

namespace corvane::testing {

// A window tree in memory. Handles are indices + 1; children and top-level
// windows are in Z order, first added first.
class FakeWindowSystem final : public platform::WindowSystem {
 public:
  using WindowHandle = platform::WindowHandle;

  struct Window {
    std::u16string class_name;
    std::u16string text;
    std::optional<std::int64_t> reported_length;  // instead of text.size()
    std::optional<std::int64_t> reported_copied;  // instead of what was copied
    bool hung = false;                            // neither text message is answered
    bool vanishes_after_length = false;           // gone before WM_GETTEXT arrives
    bool gone = false;
    WindowHandle parent = platform::kNoWindow;
    std::vector<WindowHandle> children;
  };

  WindowHandle AddTopLevel(std::u16string class_name) {
    const WindowHandle handle = Add(std::move(class_name), platform::kNoWindow);
    top_level_.push_back(handle);
    return handle;
  }

  WindowHandle AddChild(WindowHandle parent, std::u16string class_name) {
    const WindowHandle handle = Add(std::move(class_name), parent);
    At(parent).children.push_back(handle);
    return handle;
  }

  // The windows of `path`, each the child of the one before, under `parent`; returns the last.
  WindowHandle AddPath(WindowHandle parent, std::initializer_list<std::u16string_view> path) {
    for (const std::u16string_view name : path) parent = AddChild(parent, std::u16string(name));
    return parent;
  }

  // IEFrame > WorkerW > ReBarWindow32 > `field_chain`, its last window showing
  // `address`; returns that window.
  WindowHandle AddBrowser(std::u16string address,
                          std::initializer_list<std::u16string_view> field_chain = {
                              u"ComboBoxEx32", u"ComboBox", u"Edit"}) {
    const WindowHandle band = AddPath(AddTopLevel(u"IEFrame"), {u"WorkerW", u"ReBarWindow32"});
    const WindowHandle field = AddPath(band, field_chain);
    At(field).text = std::move(address);
    return field;
  }

  Window& At(WindowHandle handle) { return windows_.at(handle - 1); }

  // Every window some query was made of.
  [[nodiscard]] const std::set<WindowHandle>& Examined() const { return examined_; }

  WindowHandle FindTopLevelWindow(std::u16string_view class_name) override {
    const auto found = std::find_if(top_level_.begin(), top_level_.end(), [&](WindowHandle h) {
      return !At(h).gone && At(h).class_name == class_name;
    });
    return found == top_level_.end() ? platform::kNoWindow : *found;
  }

  WindowHandle FirstChild(WindowHandle parent) override {
    if (!Alive(parent)) return platform::kNoWindow;
    const auto& children = At(parent).children;
    return children.empty() ? platform::kNoWindow : children.front();
  }

  WindowHandle NextSibling(WindowHandle window) override {
    if (!Alive(window)) return platform::kNoWindow;
    const auto& siblings = At(At(window).parent).children;
    const auto me = std::find(siblings.begin(), siblings.end(), window);
    return me + 1 == siblings.end() ? platform::kNoWindow : *(me + 1);
  }

  std::size_t ClassName(WindowHandle window, std::span<char16_t> buffer) override {
    if (!Alive(window) || buffer.empty()) return 0;
    const std::u16string& name = At(window).class_name;
    const std::size_t copied = std::min(name.size(), buffer.size() - 1);
    std::copy_n(name.begin(), copied, buffer.begin());
    buffer[copied] = u'\0';
    return copied;
  }

  std::optional<std::int64_t> TextLength(WindowHandle window) override {
    if (!Alive(window) || At(window).hung) return std::nullopt;
    Window& w = At(window);
    const std::int64_t length =
        w.reported_length.value_or(static_cast<std::int64_t>(w.text.size()));
    if (w.vanishes_after_length) w.gone = true;
    return length;
  }

  std::optional<std::int64_t> Text(WindowHandle window, std::span<char16_t> buffer) override {
    if (!Alive(window) || At(window).hung || buffer.empty()) return std::nullopt;
    const Window& w = At(window);
    const std::size_t copied = std::min(w.text.size(), buffer.size() - 1);
    std::copy_n(w.text.begin(), copied, buffer.begin());
    buffer[copied] = u'\0';
    return w.reported_copied.value_or(static_cast<std::int64_t>(copied));
  }

 private:
  WindowHandle Add(std::u16string class_name, WindowHandle parent) {
    Window window;
    window.class_name = std::move(class_name);
    window.parent = parent;
    windows_.push_back(std::move(window));
    return windows_.size();
  }

  bool Alive(WindowHandle handle) {
    if (handle == platform::kNoWindow || handle > windows_.size()) return false;
    examined_.insert(handle);
    return !At(handle).gone;
  }

  std::vector<Window> windows_;
  std::vector<WindowHandle> top_level_;
  std::set<WindowHandle> examined_;
};

}  // namespace corvane::testing
