#include "voice/UserWaveformFolder.h"

#include <gtest/gtest.h>

using Korvane::UserWaveformFolder;

TEST(UserWaveformFolder, WindowsRuleIsTheRootOfTheCurrentDriveForAnEmptyBase)
{
  EXPECT_EQ(UserWaveformFolder::windowsFolder(""), "\\waveforms\\");
  EXPECT_EQ(UserWaveformFolder::windowsFolder("D:"), "D:\\waveforms\\");
  EXPECT_EQ(UserWaveformFolder::join(UserWaveformFolder::windowsFolder(""),
                                     UserWaveformFolder::fileName(3)),
            "\\waveforms\\user03.raw");
}

TEST(UserWaveformFolder, FolderBesideTheModuleFile)
{
  EXPECT_EQ(UserWaveformFolder::besideModule("/usr/lib/vst/thumpgeist.so"),
            "/usr/lib/vst/waveforms/");
  EXPECT_EQ(UserWaveformFolder::besideModule("/thumpgeist.so"), "/waveforms/");
  EXPECT_EQ(UserWaveformFolder::besideModule("C:\\VST\\Thumpgeist.dll"), "C:\\VST\\waveforms\\");
  EXPECT_EQ(UserWaveformFolder::besideModule("thumpgeist.so"), "waveforms/");
  EXPECT_EQ(UserWaveformFolder::besideModule(""), "");
}

TEST(UserWaveformFolder, FileNamesAndJoining)
{
  EXPECT_EQ(UserWaveformFolder::fileName(1), "user01.raw");
  EXPECT_EQ(UserWaveformFolder::fileName(10), "user10.raw");
  EXPECT_EQ(UserWaveformFolder::fileName(0), "");
  EXPECT_EQ(UserWaveformFolder::fileName(11), "");
  EXPECT_EQ(UserWaveformFolder::join("/a/b", "user01.raw"), "/a/b/user01.raw");
  EXPECT_EQ(UserWaveformFolder::join("/a/b/", "user01.raw"), "/a/b/user01.raw");
}
