#include "promotion/browser_emulation.h"

#include <gtest/gtest.h>

namespace corvane::promotion {
namespace {

TEST(BrowserEmulationFor, TheStandardsModeOfEachVersionAndNothingForOthers) {
  const struct {
    std::u16string_view version;
    std::optional<std::uint32_t> mode;
  } rows[] = {
      {u"11.0.9600.18376", 11000}, {u"10.0.9200.16384", 10000}, {u"9.0.8112.16421", 9000},
      {u"8.0.7601.17514", 8000},   {u"7.0.6002.18005", 7000},   {u"6.0.2900.5512", std::nullopt},
      {u"12.0", std::nullopt},     {u"", std::nullopt},         {u"11x.0", std::nullopt},
      {u"1100.0", std::nullopt},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(BrowserEmulationFor(row.version), row.mode)
        << std::string(row.version.begin(), row.version.end());
  }
}

}  // namespace
}  // namespace corvane::promotion
