// Runs the built tgbench briefly on the built module and checks what it reports: a row
// per module and voice count in order, figures that are positive, finite and consistent
// with each other, and refusals that name what was wrong. No speed is asserted.
#include <gtest/gtest.h>

#ifdef TG_BENCH_PATH
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{
struct BenchRun
{
  int exitCode = -1;
  std::string out, err;
};

// A file of this test process's own: ctest runs the tests of this file side by side.
std::string TmpPath(const std::string& name)
{
  const std::string folder = std::string(TG_TEST_TMP_DIR) + "/bench-" + std::to_string(getpid());
  std::filesystem::create_directories(folder);
  const std::string path = folder + "/" + name;
  std::filesystem::remove(path);
  return path;
}

std::string ReadFile(const std::string& path)
{
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

BenchRun Bench(const std::string& args)
{
  const std::string errPath = TmpPath("bench_stderr.txt");
  const std::string command =
      std::string("\"") + TG_BENCH_PATH + "\" " + args + " 2>\"" + errPath + "\"";
  BenchRun r;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe)
    return r;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe))
    r.out += buffer;
  const int status = pclose(pipe);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.err = ReadFile(errPath);
  return r;
}

std::vector<std::string> Split(const std::string& line, char sep)
{
  std::vector<std::string> fields;
  std::stringstream in(line);
  std::string f;
  while (std::getline(in, f, sep))
    fields.push_back(f);
  return fields;
}

// The table's rows on stdout: lines that start with a module's label.
std::vector<std::vector<std::string>> TableRows(const std::string& out, const std::string& label,
                                                bool markdown)
{
  std::vector<std::vector<std::string>> rows;
  for (const std::string& line : Split(out, '\n'))
  {
    std::string body = line;
    if (markdown && body.rfind("| ", 0) == 0)
      body = body.substr(2);
    if (body.rfind(label + " ", 0) != 0)
      continue;
    std::vector<std::string> fields;
    std::stringstream in(body);
    std::string f;
    while (in >> f)
      if (f != "|")
        fields.push_back(f);
    rows.push_back(fields);
  }
  return rows;
}
} // namespace

TEST(BenchToolTest, ReportsARowPerModuleAndVoiceCount)
{
  // A second copy of the module under another name stands for a second instrument.
  const std::string copy = TmpPath("bench_copy.so");
  std::filesystem::copy_file(TG_MODULE_PATH, copy);
  const std::string module = std::string("\"") + TG_MODULE_PATH + "\"";
  struct Case
  {
    std::string args;
    std::vector<std::string> labels;
    std::vector<int> voices;
    const char* precision;
    bool markdown;
  };
  const Case cases[] = {
      {module + " \"" + copy + "\" --voices 1,2",
       {"thumpgeist.so", "bench_copy.so"},
       {1, 2},
       "float",
       false},
      // The same module twice, the second time with its own program.
      {module + " \"" + TG_MODULE_PATH + "@1\" --voices 1",
       {"thumpgeist.so", "thumpgeist.so@1"},
       {1},
       "float",
       false},
      {"--voices 3 --double --pick median --markdown --program 1 --param 3=0.4 " + module,
       {"thumpgeist.so"},
       {3},
       "double",
       true},
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.args);
    const std::string csv = TmpPath("bench.csv");
    const BenchRun r =
        Bench(c.args + " --seconds 0.2 --warmup 0.05 --rounds 2 --csv \"" + csv + "\"");
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    for (const std::string& label : c.labels)
    {
      const auto rows = TableRows(r.out, label, c.markdown);
      ASSERT_EQ(rows.size(), c.voices.size()) << r.out;
      for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].at(1), std::to_string(c.voices[i])) << r.out;
    }
    const std::vector<std::string> lines = Split(ReadFile(csv), '\n');
    ASSERT_EQ(lines.size(), 1 + c.labels.size() * c.voices.size());
    const std::vector<std::string> header = Split(lines[0], ',');
    ASSERT_EQ(header.size(), 17u);
    EXPECT_EQ(header[10], "realtime");
    for (size_t i = 1; i < lines.size(); ++i)
    {
      const std::vector<std::string> f = Split(lines[i], ',');
      ASSERT_EQ(f.size(), header.size()) << lines[i];
      // Modules in the order given, each with its voice counts in order.
      EXPECT_EQ(f[0], "\"" + c.labels[(i - 1) / c.voices.size()] + "\"");
      EXPECT_EQ(std::stoi(f[3]), c.voices[(i - 1) % c.voices.size()]);
      EXPECT_EQ(f[6], c.precision);
      const double realtime = std::stod(f[10]), reference = std::stod(f[11]),
                   normalised = std::stod(f[12]), mean = std::stod(f[13]), worst = std::stod(f[14]),
                   ratio = std::stod(f[15]), peak = std::stod(f[16]);
      for (double v : {realtime, reference, normalised, mean, worst})
      {
        EXPECT_TRUE(std::isfinite(v) && v > 0.0) << lines[i];
      }
      EXPECT_GE(worst, mean);
      EXPECT_NEAR(ratio, worst / mean, 1e-6 * ratio);
      EXPECT_NEAR(normalised, realtime / reference, 1e-6 * normalised);
      // The mean block time and the realtime factor describe the same 512-frame blocks.
      EXPECT_NEAR(realtime, 512.0 / 44100.0 / (mean * 1e-6), 1e-6 * realtime);
      EXPECT_GT(peak, -200.0) << "held notes should sound: " << lines[i];
    }
  }
}

TEST(BenchToolTest, RefusesWhatItCannotMeasure)
{
  const std::string module = std::string(" \"") + TG_MODULE_PATH + "\"";
  const std::string missing = std::string(TG_TEST_TMP_DIR) + "/no_such_module.so";
  struct Case
  {
    std::string args;
    int exitCode;
    std::string message; // must appear on stderr
  };
  const Case cases[] = {
      {"\"" + missing + "\"" + module, 1, "cannot load " + missing + ": "},
      {"--program \"No Such Program\"" + module, 1, "no program \"No Such Program\""},
      {module + " \"" + TG_MODULE_PATH + "@No Such Program\"", 1, "no program \"No Such Program\""},
      {"--param 999=0.5" + module, 1, "no parameter \"999\""},
      {"--voices 0" + module, 2, "bad voice counts"},
      {"--voices 1,,2" + module, 2, "bad voice counts"},
      {"--pick fastest" + module, 2, "bad round choice"},
      {"--seconds 0.1", 2, "no module"},
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.args);
    const BenchRun r = Bench(c.args + " --seconds 0.05 --rounds 1");
    EXPECT_EQ(r.exitCode, c.exitCode) << r.out << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("realtime"), std::string::npos) << "no table after a refusal";
  }
}
#else
TEST(BenchToolTest, NeedsTheBenchmarkToolBuilt)
{
  GTEST_SKIP() << "tgbench is not built in this configuration";
}
#endif
