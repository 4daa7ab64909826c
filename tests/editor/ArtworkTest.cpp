// The images built into the module are the artwork generator's output: every number the
// editor's sections load is there, each decodes to exactly the pixels tgartwork draws,
// and each image's size and frames are what its name promises.
#ifdef TG_ARTWORK_PATH
#include "editor/raster/PngImage.h"
#include "plugin/platform/PlatformModule.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

const char* const kFolderPrefix = "resources/img/korvane/";

// Every image number the sections load (two numbers share the pitch/tune knob).
const int kLoaded[] = {
    111,  112,  201,  1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010, 1011, 1012, 1013,
    1014, 1017, 1019, 1020, 1021, 1022, 1023, 1033, 1034, 1035, 1036, 1037, 1038, 1039, 1040, 1041,
    1042, 1043, 1044, 1046, 1047, 1048, 1050, 1051, 1052, 1053, 1101, 1102, 1103, 1104, 1105, 1106,
    1107, 1108, 1109, 1110, 1111, 1112, 1113, 1114, 1115, 1203, 1206, 1207, 1209, 1212, 1213, 1300,
    1301, 1302, 1303, 1304, 1305, 1308, 1309, 1310, 1311, 1312, 1313, 1314, 1315, 1316, 1317, 1318,
    1319, 1320, 1321, 1322, 1323, 1324, 1325, 1326, 1328, 1329, 1330, 1333, 1335, 1336, 1401, 1402,
    1403, 1405, 2001, 2002, 2003, 2004, 2005, 2008, 2009, 2010, 2011};

struct Listed
{
  int number;
  std::string file; // relative to resources/img/korvane/
};

// The build's list of built-in images, "number=file" pairs separated by commas.
std::vector<Listed> BuiltInList()
{
  std::vector<Listed> list;
  std::stringstream all(TG_PNG_RESOURCE_LIST);
  std::string pair;
  while (std::getline(all, pair, ','))
  {
    const std::size_t eq = pair.find('=');
    std::string file = pair.substr(eq + 1);
    EXPECT_EQ(file.rfind(kFolderPrefix, 0), 0u) << file;
    list.push_back({std::stoi(pair.substr(0, eq)), file.substr(std::string(kFolderPrefix).size())});
  }
  return list;
}

PngImage BuiltIn(int number)
{
  PngImage image;
  const PlatformModule::Resource r = PlatformModule::FindPngResource(number);
  EXPECT_TRUE(r && image.Decode(r.data, r.size)) << number;
  return image;
}

class ArtworkTest : public ::testing::Test
{
protected:
  // The generator runs once per test program, compressing quickly (the pixels are the
  // same), into a folder of its own: the test runner starts each test as a separate
  // program, several at a time.
  static void SetUpTestSuite()
  {
    folder = fs::path(TG_TEST_TMP_DIR) / ("artwork-" + std::to_string(std::random_device{}()));
    fs::remove_all(folder);
    const std::string command =
        std::string("\"") + TG_ARTWORK_PATH + "\" --quick --out \"" + folder.string() + "\"";
    status = std::system(command.c_str());
  }
  static void TearDownTestSuite() { fs::remove_all(folder); }
  static fs::path folder;
  static int status;
};
fs::path ArtworkTest::folder;
int ArtworkTest::status = -1;
} // namespace

TEST_F(ArtworkTest, EveryImageTheSectionsLoadIsBuiltIn)
{
  std::set<int> listed;
  for (const Listed& l : BuiltInList())
    listed.insert(l.number);
  EXPECT_EQ(listed, std::set<int>(std::begin(kLoaded), std::end(kLoaded)));
  for (int number : kLoaded)
    EXPECT_FALSE(BuiltIn(number).Empty()) << number;
}

TEST_F(ArtworkTest, BuiltInImagesAreWhatTheGeneratorDraws)
{
  ASSERT_EQ(status, 0);
  std::set<std::string> files;
  for (const Listed& l : BuiltInList())
  {
    files.insert(l.file);
    std::ifstream in(folder / l.file, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    PngImage drawn;
    ASSERT_TRUE(drawn.Decode(bytes.data(), bytes.size())) << l.file;
    const PngImage embedded = BuiltIn(l.number);
    ASSERT_EQ(embedded.Width(), drawn.Width()) << l.file;
    ASSERT_EQ(embedded.Height(), drawn.Height()) << l.file;
    std::size_t differing = 0;
    for (std::size_t i = 0; i < drawn.Pixels().size(); ++i)
      differing += drawn.Pixels()[i] != embedded.Pixels()[i];
    EXPECT_EQ(differing, 0u) << l.file
                             << ": the committed image is not the generator's; run tgartwork";
  }
  // The generator draws nothing that is not built in.
  std::size_t written = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    written += entry.is_regular_file();
  EXPECT_EQ(written, files.size());
}

TEST_F(ArtworkTest, SizesAndFramesFollowTheNames)
{
  // Whole-image sizes ("_85x50", "_48px_40px"), knob and switch widths with square
  // frames ("_40px"), and state counts ("_3_states", "_7_states_35px").
  const std::regex whole(R"(_(\d+)(?:x|px[_])(\d+)(?:px)?\.png$)");
  const std::regex statesSquare(R"(_(\d+)_states_(\d+)px\.png$)");
  const std::regex square(R"(_(\d+)px\.png$)");
  const std::regex states(R"(_(\d+)_states\.png$)");
  for (const Listed& l : BuiltInList())
  {
    const PngImage image = BuiltIn(l.number);
    const int w = image.Width();
    const int h = image.Height();
    std::smatch m;
    if (std::regex_search(l.file, m, statesSquare))
    {
      EXPECT_EQ(w, std::stoi(m[2])) << l.file;
      EXPECT_EQ(h, std::stoi(m[1]) * w) << l.file;
    }
    else if (std::regex_search(l.file, m, whole))
    {
      EXPECT_EQ(w, std::stoi(m[1])) << l.file;
      EXPECT_EQ(h, std::stoi(m[2])) << l.file;
    }
    else if (std::regex_search(l.file, m, square))
    {
      EXPECT_EQ(w, std::stoi(m[1])) << l.file;
      ASSERT_GT(w, 0);
      EXPECT_EQ(h % w, 0) << l.file;
      // Knobs turn smoothly; switches have two states.
      const bool knob = l.file.rfind("knobs/", 0) == 0;
      EXPECT_TRUE(knob ? h / w >= 64 : h / w == 2) << l.file << ": " << h / w << " frames";
    }
    else if (std::regex_search(l.file, m, states))
    {
      EXPECT_EQ(h % std::stoi(m[1]), 0) << l.file;
    }
  }
  // The background is the editor itself.
  const PngImage background = BuiltIn(111);
  EXPECT_EQ(background.Width(), 1220);
  EXPECT_EQ(background.Height(), 835);
}
#endif
