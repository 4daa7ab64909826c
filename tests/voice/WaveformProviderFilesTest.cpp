#include "voice/WaveformProvider.h"

#include "voice/UserWaveformCycles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

using Korvane::UserWaveformCycles;
using Korvane::WaveformProvider;

namespace
{

constexpr int kN = 4096;
namespace fs = std::filesystem;

std::string scratchFolder(const std::string& name)
{
  const fs::path folder = fs::path(TG_TEST_TMP_DIR) / ("waveform_files_" + name);
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder.string();
}

void writeDoubles(const std::string& path, const std::vector<double>& values)
{
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  if (!values.empty())
    std::fwrite(values.data(), sizeof(double), values.size(), f);
  std::fclose(f);
}

std::vector<double> ramp(std::size_t n, double start = 0.0)
{
  std::vector<double> v(n);
  for (std::size_t i = 0; i < n; ++i)
    v[i] = start + 0.001 * static_cast<double>(i);
  return v;
}

std::vector<double> marker(double value = -7.0) { return std::vector<double>(kN, value); }

} // namespace

TEST(WaveformProviderFiles, FullFileIsLoadedOneToOne)
{
  WaveformProvider provider;
  const std::string folder = scratchFolder("full");
  const auto values = ramp(4096, -2.0); // 32768 bytes
  writeDoubles(folder + "/a.raw", values);
  auto target = marker();
  ASSERT_TRUE(provider.loadRawFile(folder + "/a.raw", target.data()));
  EXPECT_EQ(target, values);
}

TEST(WaveformProviderFiles, LongerFileGivesItsFirst4096Values)
{
  WaveformProvider provider;
  const std::string folder = scratchFolder("long");
  auto values = ramp(5000); // 40000 bytes
  writeDoubles(folder + "/a.raw", values);
  auto target = marker();
  ASSERT_TRUE(provider.loadRawFile(folder + "/a.raw", target.data()));
  values.resize(kN);
  EXPECT_EQ(target, values);
}

TEST(WaveformProviderFiles, OneValueFillsTheFirstHalfOnly)
{
  WaveformProvider provider;
  const std::string folder = scratchFolder("one");
  writeDoubles(folder + "/a.raw", {0.25}); // 8 bytes
  auto target = marker();
  ASSERT_TRUE(provider.loadRawFile(folder + "/a.raw", target.data()));
  for (int i = 0; i < kN; ++i)
    ASSERT_EQ(target[static_cast<std::size_t>(i)], i < 2048 ? 0.25 : -7.0) << i;
}

TEST(WaveformProviderFiles, ShortFilesAreStretchedByAveragingNeighbours)
{
  WaveformProvider provider;
  const std::string folder = scratchFolder("short");
  const auto values = ramp(2048, 1.0); // 16384 bytes: every value covers two samples
  writeDoubles(folder + "/a.raw", values);
  auto target = marker();
  ASSERT_TRUE(provider.loadRawFile(folder + "/a.raw", target.data()));
  for (int i = 0; i < kN - 1; ++i)
  {
    const std::size_t j0 = static_cast<std::size_t>(i / 2),
                      j1 = static_cast<std::size_t>((i + 1) / 2);
    ASSERT_DOUBLE_EQ(target[static_cast<std::size_t>(i)], (values[j0] + values[j1]) / 2) << i;
  }
  EXPECT_EQ(target[kN - 1], -7.0); // its upper neighbour lies past the end

  // Three values: samples map onto them in thirds.
  writeDoubles(folder + "/b.raw", {3.0, 6.0, 9.0});
  target = marker();
  ASSERT_TRUE(provider.loadRawFile(folder + "/b.raw", target.data()));
  EXPECT_EQ(target[0], 3.0);
  EXPECT_EQ(target[1000], 4.5); // b = 0.73: between the first two
  EXPECT_EQ(target[1366], 6.0);
  EXPECT_EQ(target[4095], -7.0); // b = 2.999: j1 = 3 lies past the end

  // An empty file and a file shorter than one value change nothing.
  writeDoubles(folder + "/c.raw", {});
  target = marker();
  EXPECT_TRUE(provider.loadRawFile(folder + "/c.raw", target.data()));
  EXPECT_EQ(target, marker());
  std::FILE* f = std::fopen((folder + "/d.raw").c_str(), "wb");
  std::fputs("abc", f);
  std::fclose(f);
  EXPECT_TRUE(provider.loadRawFile(folder + "/d.raw", target.data()));
  EXPECT_EQ(target, marker());
}

TEST(WaveformProviderFiles, ValuesThatAreNotFiniteBecomeZero)
{
  WaveformProvider provider;
  const std::string folder = scratchFolder("nan");
  auto values = ramp(4096, 0.5);
  values[3] = std::numeric_limits<double>::quiet_NaN();
  values[4] = std::numeric_limits<double>::infinity();
  values[5] = -std::numeric_limits<double>::infinity();
  writeDoubles(folder + "/a.raw", values);
  auto target = marker();
  ASSERT_TRUE(provider.loadRawFile(folder + "/a.raw", target.data()));
  EXPECT_EQ(target[2], values[2]);
  EXPECT_EQ(target[3], 0.0);
  EXPECT_EQ(target[4], 0.0);
  EXPECT_EQ(target[5], 0.0);
  EXPECT_EQ(target[6], values[6]);

  // In a short file too.
  writeDoubles(folder + "/b.raw", {std::numeric_limits<double>::quiet_NaN(), 1.0});
  target = marker();
  ASSERT_TRUE(provider.loadRawFile(folder + "/b.raw", target.data()));
  EXPECT_EQ(target[0], 0.0);
  EXPECT_EQ(target[1024], 0.0);
  EXPECT_EQ(target[2048], 1.0);
}

TEST(WaveformProviderFiles, MissingOrUnreadableFilesChangeNothing)
{
  WaveformProvider provider;
  const std::string folder = scratchFolder("missing");
  auto target = marker();
  EXPECT_FALSE(provider.loadRawFile(folder + "/none.raw", target.data()));
  EXPECT_EQ(target, marker());
  fs::create_directories(folder + "/dir.raw");
  EXPECT_FALSE(provider.loadRawFile(folder + "/dir.raw", target.data()));
  EXPECT_EQ(target, marker());
}

TEST(WaveformProviderFiles, WithoutAFolderEveryUserCycleIsAsShipped)
{
  std::vector<double> shipped(static_cast<std::size_t>(UserWaveformCycles::kCount) * kN);
  UserWaveformCycles::generate(shipped.data());
  WaveformProvider provider;
  provider.buildBaseWaveforms(scratchFolder("absent") + "/not-there/");
  for (int u = 0; u < 16; ++u)
    for (int i = 0; i < kN; ++i)
      ASSERT_NEAR(provider.userCycle(u)[i], shipped[static_cast<std::size_t>(u * kN + i)], 1e-15)
          << u << " " << i;
}

TEST(WaveformProviderFiles, UserFilesReplaceUserOneToTenAndAreNormalised)
{
  const std::string folder = scratchFolder("users");
  std::vector<double> third(kN), fifth(kN);
  for (int i = 0; i < kN; ++i)
  {
    third[static_cast<std::size_t>(i)] = 2.0 * std::sin(2 * std::numbers::pi * 3 * i / kN);
    fifth[static_cast<std::size_t>(i)] = 0.1 * std::sin(2 * std::numbers::pi * 5 * i / kN);
  }
  writeDoubles(folder + "/user01.raw", third);
  writeDoubles(folder + "/user10.raw", fifth);

  std::vector<double> shipped(static_cast<std::size_t>(UserWaveformCycles::kCount) * kN);
  UserWaveformCycles::generate(shipped.data());

  WaveformProvider provider;
  provider.buildBaseWaveforms(folder); // no trailing separator: one is added
  provider.buildSets();

  const double peak3 = [&]
  {
    double p = 0;
    for (double v : third)
      p = std::max(p, std::abs(v));
    return p;
  }();
  const double peak5 = [&]
  {
    double p = 0;
    for (double v : fifth)
      p = std::max(p, std::abs(v));
    return p;
  }();
  for (int i = 0; i < kN; i += 7)
  {
    ASSERT_NEAR(provider.userCycle(0)[i], third[static_cast<std::size_t>(i)] / peak3 * 0.998777,
                1e-14);
    ASSERT_NEAR(provider.userCycle(9)[i], fifth[static_cast<std::size_t>(i)] / peak5 * 0.998777,
                1e-14);
  }
  // User2 and User11 (which does not read "user10.raw") keep their shipped cycles.
  for (int u : {1, 10, 12, 15})
    for (int i = 0; i < kN; i += 7)
      ASSERT_NEAR(provider.userCycle(u)[i], shipped[static_cast<std::size_t>(u * kN + i)], 1e-15)
          << u;

  // The sets follow the files: three harmonics give tables of 3 and 1.
  ASSERT_EQ(provider.set(24).count, 2);
  EXPECT_NEAR(provider.set(24).tables[0].topFrequency, (2.0 / 3.0) / 3, 1e-15);
  ASSERT_EQ(provider.set(33).count, 3); // 5, 2, 1
}
