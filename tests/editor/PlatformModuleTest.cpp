#include "plugin/platform/PlatformModule.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <unistd.h>

// Linked into a program, the framework's module is the program itself.
TEST(PlatformModuleTest, FilePathIsTheFileHoldingTheCode)
{
  char exe[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
  ASSERT_GT(n, 0);
  exe[n] = '\0';
  char resolved[PATH_MAX];
  ASSERT_NE(realpath(exe, resolved), nullptr);

  const std::string path = PlatformModule::FilePath();
  EXPECT_EQ(path, resolved);
  const std::string folder = PlatformModule::Folder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_EQ(path.rfind(folder, 0), 0u);
  EXPECT_EQ(path.substr(folder.size()), "editor_tests");
  EXPECT_EQ(PlatformModule::Separator(), '/');
  // The user's files lie in a folder beside the module.
  EXPECT_EQ(PlatformModule::UserFolder("waveforms"), folder + "waveforms/");
}

// Both platforms' rules for the user's folder, checked here whatever the platform.
TEST(PlatformModuleTest, UserFolderRules)
{
  EXPECT_EQ(PlatformModule::FolderAtDriveRoot("waveforms"), "\\waveforms\\");
  const struct
  {
    const char* folder;
    const char* expected;
  } cases[] = {
      {"/usr/lib/vst/", "/usr/lib/vst/waveforms/"},
      {"/", "/waveforms/"},
      {"C:\\VST\\", "C:\\VST\\waveforms\\"},
      {"", ""}, // the module's path is unknown: no folder at all
  };
  for (const auto& c : cases)
    EXPECT_EQ(PlatformModule::FolderInside(c.folder, "waveforms"), c.expected) << c.folder;
}

TEST(PlatformModuleTest, UnknownPngResourcesAreNotFound)
{
  for (int number : {-1, 0, 1, 100, 65535, 70000})
  {
    PlatformModule::Resource r = PlatformModule::FindPngResource(number);
    EXPECT_FALSE(r) << number;
    EXPECT_EQ(r.data, nullptr);
    EXPECT_EQ(r.size, 0u);
  }
}
