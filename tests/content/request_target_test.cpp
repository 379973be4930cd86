#include "content/request_target.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

TEST(EscapeFileNameTest, EscapesExactlyTheBytesThatCannotStandRaw) {
  constexpr std::string_view kUnsafe = " \"#<>\\^`{|}";
  for (int byte = 0; byte < 256; ++byte) {
    const std::string name(1, static_cast<char>(byte));
    const bool unsafe = byte < 0x20 || byte >= 0x7F || kUnsafe.find(name[0]) != kUnsafe.npos;
    char escaped[4];
    std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
    EXPECT_EQ(content::EscapeFileName(name), unsafe ? std::string(escaped) : name) << byte;
  }
}

TEST(EscapeFileNameTest, KeepsOrdinaryNamesAndEmbeddedZeroBytes) {
  EXPECT_EQ(content::EscapeFileName("cat_07.jpg"), "cat_07.jpg");
  EXPECT_EQ(content::EscapeFileName(""), "");
  EXPECT_EQ(content::EscapeFileName(std::string("a\0b", 3)), "a%00b");
}

}  // namespace
