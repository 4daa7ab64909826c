// The file dialog's pattern and default extension from a list of extensions.
#include "editor/core/FileFilter.h"

#include <gtest/gtest.h>

TEST(FileFilter, PatternAndDefaultExtensionOfAnExtensionList)
{
  const struct
  {
    const char* extensions;
    const char* pattern;
    const char* first;
  } cases[] = {
      {"kv bgp fxp", "*.kv;*.bgp;*.fxp", "kv"},
      {"csv", "*.csv", "csv"},
      {"  fxp   txt ", "*.fxp;*.txt", "fxp"},
      {"", "", ""},
      {nullptr, "", ""},
  };
  for (const auto& c : cases)
  {
    EXPECT_EQ(FileFilter::Pattern(c.extensions), c.pattern);
    EXPECT_EQ(FileFilter::DefaultExtension(c.extensions), c.first);
  }
}
