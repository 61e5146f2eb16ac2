#include <gtest/gtest.h>

#include <string>

#include "update/sha256.h"

namespace pravelo::update {
namespace {

TEST(Sha256, PublishedVectors) {
  EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  EXPECT_EQ(Sha256Hex(std::string(1000000, 'a')),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

// Lengths around the block size, where the padding needs one block or two.
TEST(Sha256, PaddingAtBlockBoundaries) {
  const struct {
    size_t length;
    const char* digest;
  } cases[] = {
      {0, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {55, "e7313d333c272e639f790978283f9eb392e843d0f29b7016828bb1daa4aac70b"},
      {56, "4324d65f3c103567f5589c710bc08f8523f929a9272e3af36fc968e52abc6c27"},
      {63, "81c80242132f230c3bd41b3e63bbcff16107339549214a99614ff26664625055"},
      {64, "39e3d7b6b5d075d37d053ad89b24b41bef4f3c29760c84447cab3f3be1882241"},
      {119, "9ce7368e4daf32341631b492e80359dc9f594b48453cd0dd5bf0b19279cc177e"},
      {120, "7836b787757e95e58b3ca5aec90b1b004e8deba1e50e9675af9cabf1a13a04b5"},
  };
  for (const auto& c : cases) {
    std::string bytes;
    for (size_t i = 0; i < c.length; ++i) bytes += static_cast<char>((i * 7 + 3) % 256);
    EXPECT_EQ(Sha256Hex(bytes), c.digest) << "length " << c.length;
  }
}

TEST(Sha256, MatchIgnoresCaseButNotLengthOrDigits) {
  const std::string digest = "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD";
  EXPECT_TRUE(MatchesSha256("abc", digest));
  EXPECT_TRUE(MatchesSha256("abc", Sha256Hex("abc")));
  EXPECT_FALSE(MatchesSha256("abd", digest));
  EXPECT_FALSE(MatchesSha256("abc", digest.substr(0, 63)));
  EXPECT_FALSE(MatchesSha256("abc", digest + "0"));
  EXPECT_FALSE(MatchesSha256("abc", "xa7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"));
  EXPECT_FALSE(MatchesSha256("abc", ""));
}

}  // namespace
}  // namespace pravelo::update
