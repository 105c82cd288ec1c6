// Operator passwords: argon2id strings that verify the right password only.
// Each hash and each verification costs a deliberately slow computation, so
// the tests share one hash and make few calls.
#include <gtest/gtest.h>

#include "framework/password.h"

namespace kq::fw {
namespace {

const std::string& known_hash() {
  static const std::string hash = hash_password("kq01001");
  return hash;
}

TEST(Password, VerifiesTheRightPasswordOnly) {
  const std::string& hash = known_hash();
  ASSERT_FALSE(hash.empty());
  EXPECT_EQ(hash.rfind("$argon2id$", 0), 0u) << hash;
  EXPECT_TRUE(verify_password(hash, "kq01001"));
  EXPECT_FALSE(verify_password(hash, "kq01002"));
}

TEST(Password, EachHashHasItsOwnSalt) {
  const std::string again = hash_password("kq01001");
  EXPECT_NE(again, known_hash());
  EXPECT_TRUE(verify_password(again, "kq01001"));
}

TEST(Password, TextBeyondAsciiAndEmbeddedZerosCount) {
  const std::string pw = std::string("密码\0x", 8);
  const std::string hash = hash_password(pw);
  EXPECT_TRUE(verify_password(hash, pw));
  EXPECT_FALSE(verify_password(hash, "密码"));  // not cut at the zero
}

TEST(Password, AnythingThatIsNotAHashIsRejected) {
  EXPECT_FALSE(verify_password("", ""));
  EXPECT_FALSE(verify_password("kq01001", "kq01001"));
  EXPECT_FALSE(verify_password(std::string(500, '$'), "kq01001"));
  std::string tampered = known_hash();
  tampered.back() = tampered.back() == 'A' ? 'B' : 'A';
  EXPECT_FALSE(verify_password(tampered, "kq01001"));
}

}  // namespace
}  // namespace kq::fw
