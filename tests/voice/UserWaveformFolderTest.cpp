#include "voice/UserWaveformFolder.h"

#include <gtest/gtest.h>

using Korvane::UserWaveformFolder;

TEST(UserWaveformFolder, FileNamesAndJoining)
{
  EXPECT_EQ(UserWaveformFolder::fileName(1), "user01.raw");
  EXPECT_EQ(UserWaveformFolder::fileName(10), "user10.raw");
  EXPECT_EQ(UserWaveformFolder::fileName(0), "");
  EXPECT_EQ(UserWaveformFolder::fileName(11), "");
  EXPECT_EQ(UserWaveformFolder::join("/a/b", "user01.raw"), "/a/b/user01.raw");
  EXPECT_EQ(UserWaveformFolder::join("/a/b/", "user01.raw"), "/a/b/user01.raw");
  EXPECT_EQ(UserWaveformFolder::join("\\waveforms\\", "user03.raw"), "\\waveforms\\user03.raw");
}
