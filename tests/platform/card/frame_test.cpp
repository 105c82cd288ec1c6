// Frames of the card reader protocol: checksum, escaping, what a decoder
// refuses, and the splitting of a byte stream into lines.
#include "platform/card/frame.h"

#include <gtest/gtest.h>

namespace kq::card {
namespace {

Frame request(std::vector<std::string> fields, uint32_t seq = 7) { return Frame{Frame::Kind::Request, seq, std::move(fields)}; }

// A line with its checksum recomputed over `body` (for frames that are wrong
// in some other way).
std::string with_checksum(const std::string& body) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "*%04X", crc16(body));
  return body + hex;
}

TEST(CardFrame, ChecksumIsCrc16CcittFalse) {
  EXPECT_EQ(crc16("123456789"), 0x29B1);
  EXPECT_EQ(crc16(""), 0xFFFF);
}

TEST(CardFrame, WireFormat) {
  EXPECT_EQ(encode(request({"READ", "valid"})), "Q7|READ|valid*4751\n");
  EXPECT_EQ(encode(Frame{Frame::Kind::Answer, 7, {"OK", "1"}}), "A7|OK|1*D94B\n");
  EXPECT_TRUE(encode(request({"WRITE", "a|b\\c"}, 3)).starts_with("Q3|WRITE|a\\|b\\\\c*"));
}

TEST(CardFrame, FieldsSurviveEncodingWhateverTheyHold) {
  Frame f = request({"WRITE", "pw|1", "s05", "a\\b|c\nd\re*f", "", "会员卡 8801"});
  std::string line = encode(f);
  ASSERT_EQ(line.back(), '\n');
  EXPECT_EQ(line.find('\n'), line.size() - 1) << "one line per frame";
  auto back = decode(std::string_view(line).substr(0, line.size() - 1));
  ASSERT_TRUE(back) << back.error();
  EXPECT_EQ(*back, f);

  Frame a{Frame::Kind::Answer, 99999999, {"OK"}};
  std::string a_line = encode(a);
  a_line.pop_back();
  auto a_back = decode(a_line + "\r");  // a carriage return before the line feed is ignored
  ASSERT_TRUE(a_back) << a_back.error();
  EXPECT_EQ(*a_back, a);
}

TEST(CardFrame, DecoderRefusesDamagedOrMalformedLines) {
  std::string good = encode(request({"READ", "valid"}));
  good.pop_back();

  std::string flipped = good;
  flipped[3] = flipped[3] == 'R' ? 'r' : 'R';  // a payload byte changed in transit
  EXPECT_EQ(decode(flipped).error(), "checksum mismatch");
  std::string wrong_sum = good;
  wrong_sum.back() = wrong_sum.back() == '0' ? '1' : '0';
  EXPECT_EQ(decode(wrong_sum).error(), "checksum mismatch");

  EXPECT_EQ(decode(good.substr(0, good.rfind('*'))).error(), "no checksum");
  EXPECT_EQ(decode(good.substr(0, good.size() - 1)).error(), "no checksum");
  EXPECT_EQ(decode("").error(), "empty line");
  EXPECT_EQ(decode(with_checksum("X7|READ")).error(), "unknown frame kind");
  EXPECT_EQ(decode(with_checksum("Q|READ")).error(), "bad sequence number");
  EXPECT_EQ(decode(with_checksum("Q123456789|READ")).error(), "bad sequence number");
  EXPECT_EQ(decode(with_checksum("Q7READ")).error(), "bad sequence number");
  EXPECT_EQ(decode(with_checksum("Q7")).error(), "no field");
  EXPECT_EQ(decode(with_checksum("Q7|a\\xb")).error(), "bad escape");
  EXPECT_EQ(decode(with_checksum("Q7|ab\\")).error(), "bad escape");
  EXPECT_EQ(decode(with_checksum("Q7|a\tb")).error(), "control character in a field");
}

TEST(CardFrame, LineBufferJoinsChunksAndDropsOverlongLines) {
  LineBuffer b;
  b.append("Q1|PI");
  EXPECT_FALSE(b.next());
  b.append("NG*0000\nQ2|ST");
  EXPECT_EQ(b.next(), "Q1|PING*0000");
  EXPECT_FALSE(b.next());
  b.append("ATUS\n\n");
  EXPECT_EQ(b.next(), "Q2|STATUS");
  EXPECT_EQ(b.next(), "");
  EXPECT_FALSE(b.next());

  // A line longer than the limit is dropped whole; the next line is intact.
  b.append(std::string(kMaxLine + 10, 'x'));
  b.append("yyy\nQ3|PING\n");
  EXPECT_EQ(b.next(), "Q3|PING");
  EXPECT_EQ(b.dropped(), 1u);
  // A line of exactly the limit is kept.
  b.append(std::string(kMaxLine, 'z') + "\n");
  EXPECT_EQ(b.next(), std::string(kMaxLine, 'z'));
  EXPECT_EQ(b.dropped(), 1u);
}

}  // namespace
}  // namespace kq::card
