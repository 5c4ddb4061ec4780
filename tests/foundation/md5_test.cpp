#include "foundation/md5.h"

#include <gtest/gtest.h>

namespace tr {
namespace {

struct Md5Case {
  std::string input;
  const char* digest;
};

class Md5Vectors : public testing::TestWithParam<Md5Case> {};

// The test suite of RFC 1321, plus inputs around the 56- and 64-byte padding edges.
TEST_P(Md5Vectors, MatchesReference) { EXPECT_EQ(Md5Hex(GetParam().input), GetParam().digest); }

// Given in pieces, as a file is written, the input has the same digest
// whatever the pieces: ones that end inside, at and past a 64-byte block.
TEST_P(Md5Vectors, MatchesReferenceGivenInPieces) {
  for (std::size_t piece : {3u, 7u, 63u, 64u, 65u}) {
    const std::string& input = GetParam().input;
    cMd5 md5;
    for (std::size_t at = 0; at < input.size(); at += piece) md5.Update(std::string_view(input).substr(at, piece));
    EXPECT_EQ(Md5Hex(md5.Final()), GetParam().digest) << "pieces of " << piece;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rfc1321, Md5Vectors,
    testing::Values(
        Md5Case{"", "d41d8cd98f00b204e9800998ecf8427e"},
        Md5Case{"a", "0cc175b9c0f1b6a831c399e269772661"},
        Md5Case{"abc", "900150983cd24fb0d6963f7d28e17f72"},
        Md5Case{"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        Md5Case{"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        Md5Case{"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
                "d174ab98d277d9f5a5611c2c9f419d9f"},
        Md5Case{"1234567890123456789012345678901234567890123456789012345678901234567890123456789"
                "0",
                "57edf4a22be3c955ac49da2e2107b67a"},
        Md5Case{std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
        Md5Case{std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
        Md5Case{std::string(64, 'a'), "014842d480b571495a4a0363793f7367"}));

}  // namespace
}  // namespace tr
