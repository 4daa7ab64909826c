// Runs the built tgrender on the built module, as a user would, and reads back the WAV
// files it writes. The checks hold whatever the instrument sounds like.
#include <gtest/gtest.h>

#ifdef TG_RENDER_PATH
#include <sndfile.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace
{
struct RunResult
{
  int exitCode = -1;
  std::string out;
};

RunResult Render(const std::string& args)
{
  const std::string command = std::string("\"") + TG_RENDER_PATH + "\" --module \"" +
                              TG_MODULE_PATH + "\" " + args + " 2>/dev/null";
  RunResult r;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe)
    return r;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe))
    r.out += buffer;
  const int status = pclose(pipe);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

std::string TmpPath(const std::string& name)
{
  const std::string path = std::string(TG_TEST_TMP_DIR) + "/" + name;
  std::filesystem::remove(path);
  return path;
}

struct Wav
{
  SF_INFO info{};
  std::vector<double> samples; // interleaved
  bool ok = false;
};

Wav ReadWav(const std::string& path)
{
  Wav w;
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &w.info);
  if (!f)
    return w;
  w.samples.resize(size_t(w.info.frames) * size_t(w.info.channels));
  w.ok = sf_readf_double(f, w.samples.data(), w.info.frames) == w.info.frames;
  sf_close(f);
  return w;
}

// The level the renderer printed on the line that starts with label, in dBFS.
double PrintedDb(const std::string& out, const std::string& label)
{
  const size_t at = out.find(label);
  if (at == std::string::npos)
    return NAN;
  const std::string rest = out.substr(at + label.size());
  if (rest.find("-inf") < rest.find('\n'))
    return -INFINITY;
  return std::strtod(rest.c_str(), nullptr);
}

// The peak printed must be the peak in the file, whatever the instrument plays.
void ExpectPrintedPeakMatches(const RunResult& r, const Wav& w)
{
  double peak = 0.0;
  for (double v : w.samples)
  {
    ASSERT_TRUE(std::isfinite(v));
    peak = std::fmax(peak, std::fabs(v));
  }
  const double printed = PrintedDb(r.out, "peak:");
  ASSERT_FALSE(std::isnan(printed)) << r.out;
  EXPECT_FALSE(std::isnan(PrintedDb(r.out, "RMS:"))) << r.out;
  if (peak == 0.0)
    EXPECT_EQ(printed, -INFINITY) << r.out;
  else
    EXPECT_NEAR(printed, 20.0 * std::log10(peak), 0.01) << r.out;
}

void Put32(std::vector<uint8_t>& b, uint32_t v)
{
  for (int s = 24; s >= 0; s -= 8)
    b.push_back(uint8_t(v >> s));
}
} // namespace

TEST(RendererTest, NotesRenderTheirLengthPlusTheTailAs24BitStereo)
{
  const std::string path = TmpPath("render_notes.wav");
  // The later note ends at 0.75 s; 0.5 s of tail follows. The output limit keeps the
  // default sound within full scale, so the 24-bit file holds it unclipped.
  const RunResult r = Render("--note 36:127:0:0.5 --note 40:100:0.25:0.5 --tail 0.5 "
                             "--param \"Limit output=1\" -o \"" +
                             path + "\"");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  const Wav w = ReadWav(path);
  ASSERT_TRUE(w.ok);
  EXPECT_EQ(w.info.frames, 55125);
  EXPECT_EQ(w.info.channels, 2);
  EXPECT_EQ(w.info.samplerate, 44100);
  EXPECT_EQ(w.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
  ExpectPrintedPeakMatches(r, w);
}

TEST(RendererTest, FloatOutputAtAnotherRateWithOddBlocksAndSettings)
{
  const std::string path = TmpPath("render_float.wav");
  const RunResult r =
      Render("--note 60:1:0.1:0.2 --float --rate 48000 --block 100 --tail 0 --program 1 "
             "--param \"Osc1 Tune=0.6\" --param 3=0.55 --tempo 93 -o \"" +
             path + "\"");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  const Wav w = ReadWav(path);
  ASSERT_TRUE(w.ok);
  EXPECT_EQ(w.info.frames, 14400);
  EXPECT_EQ(w.info.channels, 2);
  EXPECT_EQ(w.info.samplerate, 48000);
  EXPECT_EQ(w.info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  ExpectPrintedPeakMatches(r, w);
}

TEST(RendererTest, MidiFileLengthFollowsItsTempoMap)
{
  // 480 ticks per quarter at 240 beats per minute: 1920 ticks are one second.
  std::vector<uint8_t> smf = {'M', 'T', 'h', 'd',  0,    0,   0,   6,   0,
                              0,   0,   1,   0x01, 0xE0, 'M', 'T', 'r', 'k'};
  const std::vector<uint8_t> track = {
      0x00, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90, // tempo 250000 microseconds per quarter
      0x00, 0x90, 36,   127,                    // note-on
      0x87, 0x40, 36,   0,                      // 960 ticks later, running status, velocity 0
      0x00, 0xE0, 0x00, 0x40,                   // pitch bend centre
      0x87, 0x40, 0xFF, 0x2F, 0x00,             // end of track at tick 1920
  };
  Put32(smf, uint32_t(track.size()));
  smf.insert(smf.end(), track.begin(), track.end());
  const std::string midiPath = TmpPath("render_song.mid");
  FILE* f = std::fopen(midiPath.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(smf.data(), 1, smf.size(), f);
  std::fclose(f);

  const std::string path = TmpPath("render_song.wav");
  const RunResult r =
      Render("--midi \"" + midiPath + "\" --tail 0.25 --param 133=1 -o \"" + path + "\"");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  const Wav w = ReadWav(path);
  ASSERT_TRUE(w.ok);
  EXPECT_EQ(w.info.frames, 55125);
  EXPECT_EQ(w.info.channels, 2);
  ExpectPrintedPeakMatches(r, w);

  // A damaged file is refused and nothing is written.
  smf.resize(smf.size() - 6);
  f = std::fopen(midiPath.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(smf.data(), 1, smf.size(), f);
  std::fclose(f);
  const std::string badPath = TmpPath("render_damaged.wav");
  EXPECT_EQ(Render("--midi \"" + midiPath + "\" -o \"" + badPath + "\"").exitCode, 1);
  EXPECT_FALSE(std::filesystem::exists(badPath));
}

TEST(RendererTest, BadRequestsFailWithoutWritingAFile)
{
  const std::string path = TmpPath("render_refused.wav");
  const std::string out = " -o \"" + path + "\"";
  // Usage errors: exit code 2.
  EXPECT_EQ(Render("--tail 1" + out).exitCode, 2) << "nothing to render";
  EXPECT_EQ(Render("--note 36:0:0:1" + out).exitCode, 2) << "velocity 0";
  EXPECT_EQ(Render("--note 128:100:0:1" + out).exitCode, 2) << "note out of range";
  EXPECT_EQ(Render("--note 36:100:0:0" + out).exitCode, 2) << "empty note";
  EXPECT_EQ(Render("--note 36:100:0" + out).exitCode, 2) << "three fields";
  EXPECT_EQ(Render("--note 36:100:0:1 --block 0" + out).exitCode, 2);
  EXPECT_EQ(Render("--note 36:100:0:1 --rate 0" + out).exitCode, 2);
  EXPECT_EQ(Render("--note 36:100:0:1 --param Osc1" + out).exitCode, 2);
  EXPECT_EQ(Render("--note 36:100:0:1 --frobnicate 1" + out).exitCode, 2);
  // What the module does not have: exit code 1.
  EXPECT_EQ(Render("--note 36:100:0:1 --param \"No Such Knob=0.5\"" + out).exitCode, 1);
  EXPECT_EQ(Render("--note 36:100:0:1 --param 160=0.5" + out).exitCode, 1);
  EXPECT_EQ(Render("--note 36:100:0:1 --program 128" + out).exitCode, 1);
  EXPECT_EQ(Render("--note 36:100:0:1 --program \"No Such Program\"" + out).exitCode, 1);
  EXPECT_FALSE(std::filesystem::exists(path));
}

#ifdef TG_EXPORT_PATH
// The exporter writes one WAV per chosen program and an index whose rows name them and
// carry figures measured on those files; the contact sheet is a PNG.
TEST(ExportTest, ChosenProgramsBecomeFilesWithAnIndexAndASheet)
{
  const std::string dir = std::string(TG_TEST_TMP_DIR) + "/export";
  std::filesystem::remove_all(dir);
  const std::string command = std::string("\"") + TG_EXPORT_PATH + "\" --module \"" +
                              TG_MODULE_PATH + "\" --scale 0.2 --programs 0,29,\"Vibes 1\" -o \"" +
                              dir + "\" >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const char* const files[] = {"000_Basic-Bass-Drum-1.wav", "029_Tosk-Doomcore-Kick.wav",
                               "125_Vibes-1.wav"};
  std::FILE* csv = std::fopen((dir + "/index.csv").c_str(), "r");
  ASSERT_NE(csv, nullptr);
  char line[512];
  ASSERT_TRUE(std::fgets(line, sizeof line, csv));
  EXPECT_EQ(std::string(line).rfind("program,name,file,play,note_hz,peak_db,rms_db,pitch_10ms_hz,", 0), 0u);
  for (const char* file : files)
  {
    const Wav wav = ReadWav(dir + "/" + file);
    ASSERT_TRUE(wav.ok) << file;
    double peak = 0.0; // of the mid signal, as the index measures it
    for (size_t i = 0; i + 1 < wav.samples.size(); i += 2)
      peak = std::max(peak, std::fabs(0.5 * (wav.samples[i] + wav.samples[i + 1])));
    // The row names the file, and its peak is the file's (no clipping), in dB to 0.1.
    ASSERT_TRUE(std::fgets(line, sizeof line, csv)) << file;
    const std::string row = line;
    EXPECT_NE(row.find(file), std::string::npos) << row;
    const size_t play = row.find(file) + std::string(file).size() + 1;
    const size_t peakAt = row.find(',', row.find(',', play) + 1) + 1;
    EXPECT_NEAR(std::atof(row.c_str() + peakAt), 20.0 * std::log10(peak), 0.06) << row;
  }
  EXPECT_FALSE(std::fgets(line, sizeof line, csv));
  std::fclose(csv);
  std::FILE* sheet = std::fopen((dir + "/contact-sheet.png").c_str(), "rb");
  ASSERT_NE(sheet, nullptr);
  unsigned char signature[8] = {};
  EXPECT_EQ(std::fread(signature, 1, 8, sheet), 8u);
  std::fclose(sheet);
  EXPECT_EQ(std::memcmp(signature, "\x89PNG\r\n\x1a\n", 8), 0);
}
#endif
#else
TEST(RendererTest, NeedsTheRendererBuilt)
{
  GTEST_SKIP() << "tgrender is not built in this configuration";
}
#endif
