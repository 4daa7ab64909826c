#include "plugin/ProgramFile.h"
#include "TestPlug.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

namespace
{
std::string TmpPath(const char* name) { return std::string(TG_TEST_TMP_DIR) + "/" + name; }

std::vector<uint8_t> ReadFile(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

uint32_t BE32(const std::vector<uint8_t>& b, size_t at)
{
  return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

void SetBE32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
  b[at] = uint8_t(v >> 24);
  b[at + 1] = uint8_t(v >> 16);
  b[at + 2] = uint8_t(v >> 8);
  b[at + 3] = uint8_t(v);
}
} // namespace

TEST(ProgramFile, SavedFileHasTheProgramLayout)
{
  TestPlug plug;
  plug.FillEmptyPresets(TestPlug::kPresets);
  plug.ModifyCurrentPreset("A name that is forty characters long....");
  const std::string path = TmpPath("layout.fxp");
  ASSERT_TRUE(plug.SaveProgramFile(path.c_str()));
  const std::vector<uint8_t> b = ReadFile(path);

  const uint32_t chunkLength = 8 + 4 * 8; // header plus four parameter values
  ASSERT_EQ(b.size(), 60 + chunkLength);
  EXPECT_EQ(std::memcmp(b.data(), "CcnK", 4), 0);
  EXPECT_EQ(BE32(b, 4), chunkLength + 60);
  EXPECT_EQ(std::memcmp(b.data() + 8, "FPCh", 4), 0);
  EXPECT_EQ(BE32(b, 12), 1u);
  EXPECT_EQ(BE32(b, 16), 0x717A7674u);
  EXPECT_EQ(BE32(b, 20), 10800u);
  EXPECT_EQ(BE32(b, 24), uint32_t(TestPlug::kParams));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + 28)),
            "A name that is forty charac");
  EXPECT_EQ(b[28 + 27], 0);
  EXPECT_EQ(BE32(b, 56), chunkLength);
  // The chunk starts with the little-endian chunk header.
  EXPECT_EQ(std::memcmp(b.data() + 60, "tffp\0\0\1\0", 8), 0);
}

TEST(ProgramFile, SaveAndLoadRoundTripTheStateAndTheName)
{
  TestPlug plug;
  plug.FillEmptyPresets(TestPlug::kPresets);
  plug.SetValues(0.125, 1.2, 0.0, 0.3);
  const std::string path = TmpPath("roundtrip.fxp");
  ASSERT_TRUE(plug.SaveProgramFile(path.c_str()));

  TestPlug other;
  other.FillEmptyPresets(TestPlug::kPresets);
  ASSERT_TRUE(other.RestorePreset(2));
  // Name it in the file by saving from a renamed slot.
  plug.ModifyCurrentPreset("Deep Kick");
  ASSERT_TRUE(plug.SaveProgramFile(path.c_str()));
  ASSERT_TRUE(other.LoadProgramFile(path.c_str()));
  EXPECT_EQ(other.Values(), (std::vector<double>{0.125, 1.2, 0.0, 0.3}));
  EXPECT_EQ(other.GetPresetName(2), "Deep Kick");
  EXPECT_EQ(other.programChanges, 1);
}

TEST(ProgramFile, ForeignOrDamagedFilesAreRefusedWithoutChange)
{
  TestPlug plug;
  plug.FillEmptyPresets(TestPlug::kPresets);
  plug.SetValues(0.5, 0.5, 1.0, 0.5);
  const std::string good = TmpPath("good.fxp");
  ASSERT_TRUE(plug.SaveProgramFile(good.c_str()));
  const std::vector<uint8_t> bytes = ReadFile(good);

  TestPlug target;
  target.FillEmptyPresets(TestPlug::kPresets);
  target.SetValues(0.9, 0.9, 0.0, 0.9);
  const auto before = target.Values();
  const std::string path = TmpPath("damaged.fxp");
  auto refused = [&](std::vector<uint8_t> b)
  {
    WriteFile(path, b);
    return !target.LoadProgramFile(path.c_str()) && target.Values() == before;
  };

  auto wrongId = bytes;
  SetBE32(wrongId, 16, 0x12345678);
  EXPECT_TRUE(refused(wrongId));
  auto wrongCount = bytes;
  SetBE32(wrongCount, 24, 159);
  EXPECT_TRUE(refused(wrongCount));
  auto wrongVersion = bytes;
  SetBE32(wrongVersion, 12, 2);
  EXPECT_TRUE(refused(wrongVersion));
  auto wrongMagic = bytes;
  wrongMagic[0] = 'X';
  EXPECT_TRUE(refused(wrongMagic));
  auto unknownKind = bytes;
  std::memcpy(unknownKind.data() + 8, "FBCh", 4);
  EXPECT_TRUE(refused(unknownKind));
  // Cut inside the header, and a chunk length beyond the end of the file.
  EXPECT_TRUE(refused(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 40)));
  EXPECT_TRUE(refused(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 58)));
  auto tooLong = bytes;
  SetBE32(tooLong, 56, 0x7FFFFFF0);
  EXPECT_TRUE(refused(tooLong));
  EXPECT_TRUE(refused({}));

  EXPECT_FALSE(target.LoadProgramFile(TmpPath("does-not-exist.fxp").c_str()));
  EXPECT_FALSE(target.LoadProgramFile(""));
  EXPECT_FALSE(target.SaveProgramFile(""));
  EXPECT_FALSE(target.SaveProgramFile(TmpPath("no-such-folder/x.fxp").c_str()));
}

TEST(ProgramFile, AChunkWithoutHeaderIsReadFromOffsetSixty)
{
  TestPlug plug;
  ByteBuffer chunk;
  for (double v : {0.25, 0.5, 1.0, 0.75})
    chunk.PutDouble(v);
  const auto bytes = ProgramFile::Write(0x717A7674, 10800, TestPlug::kParams, "Raw", chunk);
  const std::string path = TmpPath("raw.fxp");
  WriteFile(path, bytes);
  plug.FillEmptyPresets(TestPlug::kPresets);
  ASSERT_TRUE(plug.LoadProgramFile(path.c_str()));
  EXPECT_EQ(plug.Values(), (std::vector<double>{0.25, 0.5, 1.0, 0.75}));
  EXPECT_EQ(plug.GetPresetName(0), "Raw");
}

TEST(ProgramFile, ParameterListFilesSetNormalizedValues)
{
  std::vector<uint8_t> b(56 + 4 * TestPlug::kParams, 0);
  std::memcpy(b.data(), "CcnK", 4);
  std::memcpy(b.data() + 8, "FxCk", 4);
  SetBE32(b, 12, 1);
  SetBE32(b, 16, 0x717A7674);
  SetBE32(b, 24, TestPlug::kParams);
  std::memcpy(b.data() + 28, "List", 4);
  const float values[] = {0.5f, 1.0f, 0.0f, 0.0f};
  for (int i = 0; i < TestPlug::kParams; ++i)
  {
    uint32_t raw;
    std::memcpy(&raw, &values[i], 4);
    SetBE32(b, size_t(56 + 4 * i), raw);
  }
  const std::string path = TmpPath("list.fxp");
  WriteFile(path, b);

  TestPlug plug;
  plug.FillEmptyPresets(TestPlug::kPresets);
  ASSERT_TRUE(plug.LoadProgramFile(path.c_str()));
  EXPECT_EQ(plug.Values(), (std::vector<double>{0.5, 1.259, 0.0, 0.25}));
  EXPECT_EQ(plug.GetPresetName(0), "List");

  // The same file cut before its last value is refused.
  b.resize(b.size() - 2);
  WriteFile(path, b);
  EXPECT_FALSE(plug.LoadProgramFile(path.c_str()));
}

TEST(ProgramFile, AChunkWithoutStateChangesNothing)
{
  for (bool header : {true, false})
  {
    ByteBuffer chunk;
    if (header)
    {
      chunk.PutInt32(ProgramFile::kChunkMagic);
      chunk.PutInt32(ProgramFile::kChunkVersion);
    }
    const std::string path = TmpPath("nostate.fxp");
    WriteFile(path, ProgramFile::Write(0x717A7674, 10800, TestPlug::kParams, "None", chunk));
    TestPlug plug;
    plug.FillEmptyPresets(TestPlug::kPresets);
    plug.SetValues(0.9, 0.9, 1.0, 0.9);
    EXPECT_FALSE(plug.LoadProgramFile(path.c_str()));
    EXPECT_EQ(plug.Values(), (std::vector<double>{0.9, 0.9, 1.0, 0.9}));
    EXPECT_EQ(plug.GetPresetName(0), "Empty");
    EXPECT_EQ(plug.programChanges, 0);
  }
}

TEST(ProgramFile, APartlyFailedLoadKeepsWhatItAppliedAndTellsTheHost)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::string path = TmpPath("partial.fxp");
  auto writeChunk = [&path](std::vector<double> values, bool header)
  {
    ByteBuffer chunk;
    if (header)
    {
      chunk.PutInt32(ProgramFile::kChunkMagic);
      chunk.PutInt32(ProgramFile::kChunkVersion);
    }
    for (double v : values)
      chunk.PutDouble(v);
    WriteFile(path, ProgramFile::Write(0x717A7674, 10800, TestPlug::kParams, "Partial", chunk));
  };
  TestPlug plug;
  plug.FillEmptyPresets(TestPlug::kPresets);
  plug.SetValues(0.9, 0.9, 1.0, 0.9);

  // Cut after two values: those two stay, the third falls to 0 within its range, the
  // fourth keeps its value; the slot is not renamed, and the host is told.
  writeChunk({0.25, 0.5}, true);
  EXPECT_FALSE(plug.LoadProgramFile(path.c_str()));
  EXPECT_EQ(plug.Values(), (std::vector<double>{0.25, 0.5, 0.0, 0.9}));
  EXPECT_EQ(plug.GetPresetName(0), "Empty");
  EXPECT_EQ(plug.programChanges, 1);

  // A value that is not a number: that parameter takes its default, the load fails.
  writeChunk({0.1, nan, 0.0, 0.75}, false);
  EXPECT_FALSE(plug.LoadProgramFile(path.c_str()));
  EXPECT_EQ(plug.Values(), (std::vector<double>{0.1, 0.0, 0.0, 0.75}));
  EXPECT_EQ(plug.programChanges, 2);
}
