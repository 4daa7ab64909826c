#include "plugin/ByteBuffer.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

TEST(ByteBuffer, ValuesRoundTripLittleEndianInOrder)
{
  ByteBuffer b;
  b.PutInt32(0x70666674);
  b.PutDouble(-1.25);
  b.PutString("Kick");
  b.PutByte(7);
  ASSERT_EQ(b.Size(), 4 + 8 + 4 + 4 + 1);
  // The magic is stored as its little-endian bytes: "tffp".
  EXPECT_EQ(std::memcmp(b.Data(), "tffp", 4), 0);

  int32_t i = 0;
  double d = 0;
  std::string s;
  uint8_t byte = 0;
  int pos = b.GetInt32(&i, 0);
  pos = b.GetDouble(&d, pos);
  pos = b.GetString(&s, pos);
  pos = b.GetByte(&byte, pos);
  EXPECT_EQ(pos, b.Size());
  EXPECT_EQ(i, 0x70666674);
  EXPECT_EQ(d, -1.25);
  EXPECT_EQ(s, "Kick");
  EXPECT_EQ(byte, 7);
}

TEST(ByteBuffer, ShortReadsGiveMinusOneAndStayThere)
{
  ByteBuffer b;
  b.PutInt32(1);
  double d = 0;
  EXPECT_EQ(b.GetDouble(&d, 0), -1);
  int32_t i = 0;
  EXPECT_EQ(b.GetInt32(&i, 1), -1);
  EXPECT_EQ(b.GetInt32(&i, -1), -1);
  EXPECT_EQ(b.GetInt32(&i, 4), -1);
  EXPECT_EQ(b.GetInt32(&i, INT_MAX), -1);
}

TEST(ByteBuffer, StringLengthsBeyondTheDataAreRefused)
{
  ByteBuffer b;
  b.PutInt32(10); // claims ten bytes
  b.PutBytes("abc", 3);
  std::string s = "unchanged";
  EXPECT_EQ(b.GetString(&s, 0), -1);
  EXPECT_EQ(s, "unchanged");

  ByteBuffer negative;
  negative.PutInt32(-5);
  EXPECT_EQ(negative.GetString(&s, 0), -1);

  ByteBuffer huge;
  huge.PutInt32(INT_MAX);
  EXPECT_EQ(huge.GetString(&s, 0), -1);

  ByteBuffer empty;
  empty.PutString("");
  EXPECT_EQ(empty.GetString(&s, 0), 4);
  EXPECT_EQ(s, "");
}

TEST(ByteBuffer, GrowsAcrossGranulesAndClearsToEmpty)
{
  ByteBuffer b(16);
  for (int k = 0; k < 1000; ++k)
    b.PutDouble(k);
  ASSERT_EQ(b.Size(), 8000);
  double d = 0;
  EXPECT_EQ(b.GetDouble(&d, 8 * 999), 8000);
  EXPECT_EQ(d, 999.0);

  ByteBuffer other(16);
  other.PutBuffer(b);
  EXPECT_TRUE(other.IsEqual(b));
  b.Clear();
  EXPECT_EQ(b.Size(), 0);
  EXPECT_FALSE(other.IsEqual(b));
  b.Resize(-3);
  EXPECT_EQ(b.Size(), 0);
}
