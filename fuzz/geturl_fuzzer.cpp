// GetURL over a window tree made from the fuzz input: near misses of the
// class chains, hostile text lengths, NULs, windows that vanish or hang. It
// must never crash, and gives either the empty text or exactly the text of
// the one window that holds an address.

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <climits>
#include <cstdlib>
#include <vector>

#include "address_reader/address_reader.h"
#include "fakes/fake_window_system.h"

namespace {

using corvane::testing::FakeWindowSystem;

constexpr std::array<const char16_t*, 14> kClassNames = {
    u"IEFrame",      u"WorkerW", u"ReBarWindow32",     u"ComboBoxEx32",    u"ComboBox",
    u"Edit",         u"IEFram",  u"workerw",           u"Edit ",           u"ComboBoxEx32x",
    u"ReBarWindow3", u"",        u"Address Band Root", u"Address Band Roo"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  FakeWindowSystem windows;
  std::vector<FakeWindowSystem::WindowHandle> made;
  const int count = input.ConsumeIntegralInRange(1, 24);
  for (int i = 0; i < count; ++i) {
    const char16_t* name =
        kClassNames[input.ConsumeIntegralInRange<std::size_t>(0, kClassNames.size() - 1)];
    // Each window is top-level or a child of one made before it.
    const auto parent = input.ConsumeIntegralInRange<std::size_t>(0, made.size());
    made.push_back(parent == made.size() ? windows.AddTopLevel(name)
                                         : windows.AddChild(made[parent], name));
    auto& window = windows.At(made.back());
    window.hung = input.ConsumeBool() && input.ConsumeBool();
    window.vanishes_after_length = input.ConsumeBool() && input.ConsumeBool();
  }

  // One window holds the address; its text may have NULs and any code unit.
  auto& field = windows.At(made[input.ConsumeIntegralInRange<std::size_t>(0, made.size() - 1)]);
  const std::string raw = input.ConsumeRandomLengthString(512);
  for (std::size_t i = 0; i + 1 < raw.size(); i += 2) {
    field.text.push_back(static_cast<char16_t>(static_cast<unsigned char>(raw[i]) |
                                               (static_cast<unsigned char>(raw[i + 1]) << 8)));
  }
  const auto actual = static_cast<std::int64_t>(field.text.size());
  switch (input.ConsumeIntegralInRange(0, 6)) {
    case 1:
      field.reported_length = -1;
      break;
    case 2:
      field.reported_length = INT_MIN;
      break;
    case 3:
      field.reported_length = INT_MAX;
      break;
    case 4:
      field.reported_length = LLONG_MAX;
      break;
    case 5:
      field.reported_length = corvane::address_reader::kMaxAddressLength + 1;
      break;
    case 6:
      field.reported_length = actual + input.ConsumeIntegralInRange(0, 64);
      break;
    default:
      break;
  }

  const std::u16string result = corvane::address_reader::GetURL(windows);
  if (!result.empty() && result != corvane::address_reader::TrimAtNul(field.text)) std::abort();
  return 0;
}
