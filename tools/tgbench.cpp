// tgbench: measures how fast VST 2.4 instruments render, side by side. Each module holds
// N notes (started together at the first sample and held to the end) and renders whole
// blocks after a warm-up; the wall time of every block is taken. Modules and voice counts
// are measured round-robin over several rounds, each time in a fresh instance, so a burst
// of load on the machine falls on all of them alike. A fixed reference workload compiled
// into the tool (a biquad cascade) is timed between the measurements, and every realtime
// factor is also given divided by the reference's, which makes figures from a shared,
// noisy machine comparable across runs.
#include "host/PluginInstance.h"
#include "tools/common/LevelMeter.h"
#include "tools/common/PluginSettings.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace
{
const char* const kUsage =
    "usage: tgbench [options] MODULE...\n"
    "  Renders held notes through each VST 2.4 instrument module and reports its speed.\n"
    "  --voices LIST      voice counts, comma-separated (default: 1,8,64); N voices are the\n"
    "                     N notes from MIDI 36 upward (lower when N > 92), velocity 100\n"
    "  --seconds SEC      audio measured per module, voice count and round (default: 10)\n"
    "  --warmup SEC       audio rendered first and not counted (default: 0.5)\n"
    "  --rate HZ          sample rate (default: 44100)\n"
    "  --block N          block size in frames (default: 512)\n"
    "  --double           render with processDoubleReplacing (default: processReplacing, float)\n"
    "  --program P        program by index or by name, for every module\n"
    "  MODULE@P           a module followed by @ and a program measures that module with that\n"
    "                     program (over --program); the same module may be listed with several\n"
    "                     programs\n"
    "  --param NAME=V     set a parameter by display name or index to a normalized value, for\n"
    "                     every module (repeatable)\n"
    "  --rounds N         rounds of the round-robin (default: 3)\n"
    "  --pick best|median which round is reported for each figure (default: best, the fastest:\n"
    "                     load from elsewhere only ever slows a render down)\n"
    "  --csv FILE         also write the figures as CSV\n"
    "  --markdown         print the table as Markdown\n"
    "  -h, --help         show this text\n";

// The reference workload: a stereo cascade of eight biquad low-passes over a fixed block
// of noise, always 512 frames counted at 44.1 kHz whatever the options, so its realtime
// factor depends on the machine alone.
class ReferenceLoad
{
public:
  static constexpr int kFrames = 512;
  static constexpr int kStages = 8;
  static constexpr double kRate = 44100.0;

  ReferenceLoad()
  {
    uint32_t seed = 0x2545F491u;
    for (double& x : input)
    {
      seed = seed * 1664525u + 1013904223u;
      x = double(seed >> 8) / double(1u << 24) - 0.5;
    }
    for (int k = 0; k < kStages; ++k)
    {
      // Low-passes from 150 Hz up by half an octave each, Q 0.7.
      const double w = 2.0 * 3.14159265358979323846 * 150.0 * std::pow(1.41421356, k) / kRate;
      const double alpha = std::sin(w) / (2.0 * 0.7);
      const double a0 = 1.0 + alpha;
      Stage& s = stages[size_t(k)];
      s.b1 = (1.0 - std::cos(w)) / a0;
      s.b0 = s.b1 * 0.5;
      s.b2 = s.b0;
      s.a1 = -2.0 * std::cos(w) / a0;
      s.a2 = (1.0 - alpha) / a0;
    }
  }

  // One block through both channels' cascades; returns a sample of the output so the
  // work cannot be left out.
  double Run()
  {
    for (int c = 0; c < 2; ++c)
    {
      double* out = output[size_t(c)].data();
      const double gain = c == 0 ? 1.0 : -0.5;
      for (int i = 0; i < kFrames; ++i)
        out[i] = gain * input[size_t(i)];
      for (int k = 0; k < kStages; ++k)
      {
        const Stage& s = stages[size_t(k)];
        double& z1 = state[size_t(c)][size_t(k)][0];
        double& z2 = state[size_t(c)][size_t(k)][1];
        for (int i = 0; i < kFrames; ++i)
        {
          const double x = out[i];
          const double y = s.b0 * x + z1;
          z1 = s.b1 * x - s.a1 * y + z2;
          z2 = s.b2 * x - s.a2 * y;
          out[i] = y;
        }
      }
    }
    return output[0][kFrames - 1] + output[1][kFrames / 2];
  }

private:
  struct Stage
  {
    double b0 = 0.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0;
  };
  std::vector<double> input = std::vector<double>(kFrames);
  std::vector<std::vector<double>> output =
      std::vector<std::vector<double>>(2, std::vector<double>(kFrames));
  std::vector<Stage> stages = std::vector<Stage>(kStages);
  std::vector<std::vector<std::vector<double>>> state =
      std::vector<std::vector<std::vector<double>>>(
          2, std::vector<std::vector<double>>(kStages, std::vector<double>(2, 0.0)));
};

volatile double referenceSink = 0.0;

enum class Pick
{
  Best,
  Median,
};

struct Options
{
  std::vector<std::string> modules;
  std::vector<int> voices = {1, 8, 64};
  double seconds = 10.0;
  double warmup = 0.5;
  double sampleRate = 44100.0;
  int blockSize = 512;
  bool useDouble = false;
  std::string program;
  std::vector<ParamSetting> params;
  int rounds = 3;
  Pick pick = Pick::Best;
  std::string csvPath;
  bool markdown = false;
};

// One timed render: a module at a voice count in one round.
struct Measurement
{
  double factor = 0.0; // audio seconds / wall seconds
  double meanUs = 0.0;
  double worstUs = 0.0;
  double peak = 0.0;
  int64_t nonFinite = 0;
};

struct ModuleInfo
{
  std::string path;
  std::string program; // its own program, or empty for --program
  std::string label;   // the file name, or the path where file names repeat
  std::string effectName;
  int numInputs = 0;
  int numOutputs = 0;
  // Loaded for the whole run, so the module stays mapped while instances come and go.
  std::unique_ptr<VstHost::PluginInstance> keeper;
};

using Clock = std::chrono::steady_clock;

// "PATH@PROGRAM" names a module and its own program when PATH is a file (a file whose
// name holds an @ is taken whole); anything else is a path alone.
void SplitModuleProgram(const std::string& arg, std::string& path, std::string& program)
{
  const size_t at = arg.rfind('@');
  std::error_code error;
  if (at != std::string::npos && at > 0 && !std::filesystem::is_regular_file(arg, error) &&
      std::filesystem::is_regular_file(arg.substr(0, at), error))
  {
    path = arg.substr(0, at);
    program = arg.substr(at + 1);
    return;
  }
  path = arg;
  program.clear();
}

std::string ModuleLabel(const std::string& name, const std::string& program)
{
  return program.empty() ? name : name + "@" + program;
}

int UsageError(const std::string& message)
{
  std::fprintf(stderr, "tgbench: %s\n%s", message.c_str(), kUsage);
  return 2;
}

bool ParseVoices(const std::string& text, std::vector<int>& voices)
{
  voices.clear();
  size_t from = 0;
  for (;;)
  {
    const size_t comma = text.find(',', from);
    int n = 0;
    if (!ParseInt(text.substr(from, comma == std::string::npos ? std::string::npos : comma - from),
                  n) ||
        n < 1 || n > 128)
      return false;
    voices.push_back(n);
    if (comma == std::string::npos)
      return true;
    from = comma + 1;
  }
}

// Returns -1 when the options are fine, else the exit code.
int ParseArgs(int argc, char** argv, Options& o)
{
  for (int i = 1; i < argc; ++i)
  {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help")
    {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--double")
    {
      o.useDouble = true;
      continue;
    }
    if (arg == "--markdown")
    {
      o.markdown = true;
      continue;
    }
    if (arg.rfind('-', 0) != 0)
    {
      o.modules.push_back(arg);
      continue;
    }
    if (i + 1 >= argc)
      return UsageError("missing value after " + arg);
    const std::string v = argv[++i];
    if (arg == "--voices")
    {
      if (!ParseVoices(v, o.voices))
        return UsageError("bad voice counts " + v + " (e.g. 1,8,64; each 1 to 128)");
    }
    else if (arg == "--seconds")
    {
      if (!ParseDouble(v, o.seconds) || o.seconds <= 0.0 || o.seconds > 3600.0)
        return UsageError("bad length " + v + " (seconds, above 0)");
    }
    else if (arg == "--warmup")
    {
      if (!ParseDouble(v, o.warmup) || o.warmup < 0.0 || o.warmup > 3600.0)
        return UsageError("bad warm-up length " + v);
    }
    else if (arg == "--rate")
    {
      if (!ParseDouble(v, o.sampleRate) || o.sampleRate < 1000.0 || o.sampleRate > 768000.0 ||
          o.sampleRate != std::floor(o.sampleRate))
        return UsageError("bad sample rate " + v + " (a whole number of Hz, 1000 to 768000)");
    }
    else if (arg == "--block")
    {
      if (!ParseInt(v, o.blockSize) || o.blockSize < 1 || o.blockSize > 65536)
        return UsageError("bad block size " + v + " (1 to 65536)");
    }
    else if (arg == "--program")
      o.program = v;
    else if (arg == "--param")
    {
      ParamSetting p;
      if (!ParseParamSetting(v, p))
        return UsageError("bad parameter setting \"" + v +
                          "\" (expected NAME=VALUE or INDEX=VALUE)");
      o.params.push_back(p);
    }
    else if (arg == "--rounds")
    {
      if (!ParseInt(v, o.rounds) || o.rounds < 1 || o.rounds > 1000)
        return UsageError("bad round count " + v + " (1 to 1000)");
    }
    else if (arg == "--pick")
    {
      if (v == "best")
        o.pick = Pick::Best;
      else if (v == "median")
        o.pick = Pick::Median;
      else
        return UsageError("bad round choice " + v + " (best or median)");
    }
    else if (arg == "--csv")
      o.csvPath = v;
    else
      return UsageError("unknown option " + arg);
  }
  if (o.modules.empty())
    return UsageError("no module to measure");
  return -1;
}

// The first of count consecutive notes: 36, or lower so that all fit below 128.
int FirstNote(int count) { return std::min(36, 128 - count); }

// Loads a module and prepares it as every measurement does; false with a message on
// stderr when it cannot be measured.
bool Prepare(VstHost::PluginInstance& plug, const std::string& path, const std::string& program,
             const Options& o)
{
  if (!plug.Load(path))
  {
    std::fprintf(stderr, "tgbench: cannot load %s: %s\n", path.c_str(), plug.Error().c_str());
    return false;
  }
  const Vst::AEffect* effect = plug.Effect();
  if ((effect->flags & Vst::effFlagsIsSynth) == 0)
  {
    std::fprintf(stderr, "tgbench: %s is not an instrument (it does not declare itself one)\n",
                 path.c_str());
    return false;
  }
  if (effect->numOutputs <= 0)
  {
    std::fprintf(stderr, "tgbench: %s has no audio outputs\n", path.c_str());
    return false;
  }
  if (o.useDouble && (effect->flags & Vst::effFlagsCanDoubleReplacing) == 0)
  {
    std::fprintf(stderr, "tgbench: %s cannot render in double precision (processDoubleReplacing)\n",
                 path.c_str());
    return false;
  }
  if (!o.useDouble && (effect->flags & Vst::effFlagsCanReplacing) == 0)
  {
    std::fprintf(stderr, "tgbench: %s cannot render in place (processReplacing)\n", path.c_str());
    return false;
  }
  plug.SetTempo(120.0);
  plug.SetTransportPlaying(true);
  plug.Start(o.sampleRate, o.blockSize);
  const std::string& chosen = program.empty() ? o.program : program;
  if (!chosen.empty() && !ApplyProgram(plug, chosen, "tgbench"))
    return false;
  for (const ParamSetting& p : o.params)
    if (!ApplyParam(plug, p, "tgbench"))
      return false;
  return true;
}

// Buffers of one module's render: inputs (silent) and outputs in both precisions, and the
// time of each measured block.
struct RenderBuffers
{
  RenderBuffers(int numInputs, int numOutputs, int frames, size_t timedBlocks)
    : inFloat(size_t(numInputs), std::vector<float>(size_t(frames), 0.0f)),
      outFloat(size_t(numOutputs), std::vector<float>(size_t(frames), 0.0f)),
      inDouble(size_t(numInputs), std::vector<double>(size_t(frames), 0.0)),
      outDouble(size_t(numOutputs), std::vector<double>(size_t(frames), 0.0)),
      meterScratch(size_t(numOutputs), std::vector<double>(size_t(frames), 0.0)),
      blockSeconds(timedBlocks, 0.0)
  {
    for (auto& c : inFloat)
      inFloatPtrs.push_back(c.data());
    for (auto& c : outFloat)
      outFloatPtrs.push_back(c.data());
    for (auto& c : inDouble)
      inDoublePtrs.push_back(c.data());
    for (auto& c : outDouble)
      outDoublePtrs.push_back(c.data());
    for (auto& c : meterScratch)
      meterPtrs.push_back(c.data());
  }

  std::vector<std::vector<float>> inFloat, outFloat;
  std::vector<std::vector<double>> inDouble, outDouble, meterScratch;
  std::vector<float*> inFloatPtrs, outFloatPtrs;
  std::vector<double*> inDoublePtrs, outDoublePtrs, meterPtrs;
  std::vector<double> blockSeconds;
};

// One block through the plug-in as a host renders it: pending MIDI first, then the
// process call, with silent inputs for a plug-in that has inputs (null for one without).
void RenderBlock(VstHost::PluginInstance& plug, RenderBuffers& b, int frames, bool useDouble)
{
  Vst::AEffect* effect = plug.Effect();
  plug.SendEvents();
  if (useDouble)
    effect->processDoubleReplacing(effect, effect->numInputs > 0 ? b.inDoublePtrs.data() : nullptr,
                                   b.outDoublePtrs.data(), frames);
  else
    effect->processReplacing(effect, effect->numInputs > 0 ? b.inFloatPtrs.data() : nullptr,
                             b.outFloatPtrs.data(), frames);
  plug.SetSamplePosition(plug.SamplePosition() + frames);
}

void MeterBlock(LevelMeter& meter, RenderBuffers& b, int frames, bool useDouble)
{
  const size_t channels = b.outFloat.size();
  if (useDouble)
  {
    meter.Add(b.outDoublePtrs.data(), int(channels), frames);
    return;
  }
  for (size_t c = 0; c < channels; ++c)
    std::copy_n(b.outFloat[c].data(), frames, b.meterScratch[c].data());
  meter.Add(b.meterPtrs.data(), int(channels), frames);
}

// A fresh instance of the module holds voices notes from the first sample; the warm-up is
// rendered, then the measured blocks, each timed alone.
bool Measure(const ModuleInfo& m, int voices, const Options& o, Measurement& result)
{
  VstHost::PluginInstance plug;
  if (!Prepare(plug, m.path, m.program, o))
    return false;
  const int64_t warmBlocks = int64_t(std::ceil(o.warmup * o.sampleRate / o.blockSize));
  const int64_t timedBlocks =
      std::max<int64_t>(1, int64_t(std::ceil(o.seconds * o.sampleRate / o.blockSize)));
  RenderBuffers buffers(std::max(m.numInputs, 0), m.numOutputs, o.blockSize, size_t(timedBlocks));

  const int first = FirstNote(voices);
  for (int n = 0; n < voices; ++n)
    plug.NoteOn(0, first + n, 100);
  for (int64_t b = 0; b < warmBlocks; ++b)
    RenderBlock(plug, buffers, o.blockSize, o.useDouble);

  LevelMeter meter;
  for (int64_t b = 0; b < timedBlocks; ++b)
  {
    const Clock::time_point start = Clock::now();
    RenderBlock(plug, buffers, o.blockSize, o.useDouble);
    const Clock::time_point end = Clock::now();
    buffers.blockSeconds[size_t(b)] = std::chrono::duration<double>(end - start).count();
    MeterBlock(meter, buffers, o.blockSize, o.useDouble);
  }

  double total = 0.0, worst = 0.0;
  for (double s : buffers.blockSeconds)
  {
    total += s;
    worst = std::max(worst, s);
  }
  // A clock too coarse to see a block still gives a finite factor.
  total = std::max(total, 1e-9);
  result.factor = double(timedBlocks) * o.blockSize / o.sampleRate / total;
  result.meanUs = total / double(timedBlocks) * 1e6;
  result.worstUs = std::max(worst * 1e6, result.meanUs);
  result.peak = meter.Peak();
  result.nonFinite = meter.NonFinite();
  return true;
}

// Runs the reference for at least minSeconds of wall time; adds the audio seconds it
// processed and the wall seconds it took.
void RunReference(ReferenceLoad& ref, double minSeconds, double& audio, double& wall)
{
  const Clock::time_point start = Clock::now();
  double sink = 0.0;
  int64_t blocks = 0;
  double elapsed = 0.0;
  do
  {
    sink += ref.Run();
    ++blocks;
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  } while (elapsed < minSeconds);
  referenceSink = referenceSink + sink;
  audio += double(blocks) * ReferenceLoad::kFrames / ReferenceLoad::kRate;
  wall += elapsed;
}

// The index of the round to report among rounds with these realtime factors: the fastest,
// or the middle one (of an even count, the faster of the two middle ones).
size_t PickRound(const std::vector<double>& factors, Pick pick)
{
  std::vector<size_t> order(factors.size());
  for (size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return factors[a] > factors[b]; });
  return pick == Pick::Best ? order.front() : order[(order.size() - 1) / 2];
}

std::string FormatFixed(double v, int decimals)
{
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, v);
  return text;
}

std::string FormatSignificant(double v)
{
  char text[64];
  std::snprintf(text, sizeof text, "%.4g", v);
  return text;
}

std::string FormatPeak(double peak)
{
  return peak > 0.0 ? FormatFixed(LevelMeter::ToDb(peak), 1) : std::string("silent");
}

struct Row
{
  const ModuleInfo* module = nullptr;
  int voices = 0;
  Measurement m;
  double normalised = 0.0;
};

void PrintTable(const std::vector<Row>& rows, bool markdown)
{
  const std::vector<std::string> header = {"module",  "voices",   "realtime",   "normalised",
                                           "mean us", "worst us", "worst/mean", "peak dBFS"};
  std::vector<std::vector<std::string>> cells;
  for (const Row& r : rows)
    cells.push_back({r.module->label, std::to_string(r.voices), FormatFixed(r.m.factor, 1),
                     FormatSignificant(r.normalised), FormatFixed(r.m.meanUs, 1),
                     FormatFixed(r.m.worstUs, 1), FormatFixed(r.m.worstUs / r.m.meanUs, 2),
                     FormatPeak(r.m.peak)});
  if (markdown)
  {
    auto line = [](const std::vector<std::string>& fields)
    {
      std::string text = "|";
      for (const std::string& f : fields)
        text += " " + f + " |";
      std::puts(text.c_str());
    };
    line(header);
    std::string rule = "|---|";
    for (size_t i = 1; i < header.size(); ++i)
      rule += "---:|";
    std::puts(rule.c_str());
    for (const auto& c : cells)
      line(c);
    return;
  }
  std::vector<size_t> width(header.size());
  for (size_t i = 0; i < header.size(); ++i)
  {
    width[i] = header[i].size();
    for (const auto& c : cells)
      width[i] = std::max(width[i], c[i].size());
  }
  auto line = [&](const std::vector<std::string>& fields)
  {
    std::string text;
    for (size_t i = 0; i < fields.size(); ++i)
    {
      const std::string pad(width[i] - fields[i].size(), ' ');
      text += i == 0 ? fields[i] + pad : "  " + pad + fields[i]; // names left, numbers right
    }
    std::puts(text.c_str());
  };
  line(header);
  for (const auto& c : cells)
    line(c);
}

std::string CsvText(const std::string& text)
{
  std::string quoted = "\"";
  for (char c : text)
    quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

bool WriteCsv(const std::string& path, const std::vector<Row>& rows, double reference,
              const Options& o)
{
  FILE* f = std::fopen(path.c_str(), "w");
  if (!f)
    return false;
  std::fprintf(f, "module,path,name,voices,rate,block,precision,seconds,rounds,pick,realtime,"
                  "reference,normalised,mean_us,worst_us,worst_over_mean,peak_dbfs\n");
  for (const Row& r : rows)
  {
    const double peakDb = r.m.peak > 0.0 ? LevelMeter::ToDb(r.m.peak) : -999.0;
    std::fprintf(f, "%s,%s,%s,%d,%d,%d,%s,%.9g,%d,%s,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.3f\n",
                 CsvText(r.module->label).c_str(), CsvText(r.module->path).c_str(),
                 CsvText(r.module->effectName).c_str(), r.voices, int(o.sampleRate), o.blockSize,
                 o.useDouble ? "double" : "float", o.seconds, o.rounds,
                 o.pick == Pick::Best ? "best" : "median", r.m.factor, reference, r.normalised,
                 r.m.meanUs, r.m.worstUs, r.m.worstUs / r.m.meanUs, peakDb);
  }
  return std::fclose(f) == 0;
}
} // namespace

int main(int argc, char** argv)
{
  Options o;
  if (const int code = ParseArgs(argc, argv, o); code >= 0)
    return code;

  // Every module is loaded and checked before anything is measured.
  std::vector<ModuleInfo> modules(o.modules.size());
  for (size_t i = 0; i < modules.size(); ++i)
  {
    ModuleInfo& m = modules[i];
    SplitModuleProgram(o.modules[i], m.path, m.program);
    m.label = ModuleLabel(std::filesystem::path(m.path).filename().string(), m.program);
    m.keeper = std::make_unique<VstHost::PluginInstance>();
    if (!Prepare(*m.keeper, m.path, m.program, o))
      return 1;
    m.effectName = m.keeper->EffectName();
    m.numInputs = m.keeper->Effect()->numInputs;
    m.numOutputs = m.keeper->Effect()->numOutputs;
  }
  for (ModuleInfo& m : modules)
    for (const ModuleInfo& other : modules)
      if (&m != &other &&
          m.label ==
              ModuleLabel(std::filesystem::path(other.path).filename().string(), other.program))
        m.label = ModuleLabel(m.path, m.program);

  const size_t cellCount = modules.size() * o.voices.size();
  std::vector<std::vector<Measurement>> results(cellCount,
                                                std::vector<Measurement>(size_t(o.rounds)));
  std::vector<double> referenceFactors(size_t(o.rounds), 0.0);
  ReferenceLoad reference;
  constexpr double kReferenceSlice = 0.05; // seconds of wall time per slice
  double warmAudio = 0.0, warmWall = 0.0;
  RunReference(reference, kReferenceSlice, warmAudio, warmWall);

  for (int round = 0; round < o.rounds; ++round)
  {
    std::fprintf(stderr, "tgbench: round %d of %d\n", round + 1, o.rounds);
    double refAudio = 0.0, refWall = 0.0;
    for (size_t v = 0; v < o.voices.size(); ++v)
      for (size_t mi = 0; mi < modules.size(); ++mi)
      {
        RunReference(reference, kReferenceSlice, refAudio, refWall);
        if (!Measure(modules[mi], o.voices[v], o, results[mi * o.voices.size() + v][size_t(round)]))
          return 1;
      }
    RunReference(reference, kReferenceSlice, refAudio, refWall);
    referenceFactors[size_t(round)] = refAudio / refWall;
  }

  const double referenceFactor = referenceFactors[PickRound(referenceFactors, o.pick)];
  std::vector<Row> rows;
  for (size_t mi = 0; mi < modules.size(); ++mi)
    for (size_t v = 0; v < o.voices.size(); ++v)
    {
      const std::vector<Measurement>& rounds = results[mi * o.voices.size() + v];
      std::vector<double> factors;
      for (const Measurement& m : rounds)
        factors.push_back(m.factor);
      Row r;
      r.module = &modules[mi];
      r.voices = o.voices[v];
      r.m = rounds[PickRound(factors, o.pick)];
      r.normalised = r.m.factor / referenceFactor;
      rows.push_back(r);
    }

  const char* pickText = o.pick == Pick::Best ? "best" : "median";
  std::printf("tgbench: %d Hz, %d-frame blocks, %s, %g s measured after %g s warm-up, %s of %d "
              "rounds\n",
              int(o.sampleRate), o.blockSize,
              o.useDouble ? "double (processDoubleReplacing)" : "float (processReplacing)",
              o.seconds, o.warmup, pickText, o.rounds);
  std::printf("reference: %.6g x realtime (stereo 8-stage biquad cascade, 512 frames at 44.1 "
              "kHz, %s of %d rounds); normalised = realtime / reference\n",
              referenceFactor, pickText, o.rounds);
  for (const ModuleInfo& m : modules)
    std::printf("module: %s = %s (\"%s\", %d outputs)\n", m.label.c_str(), m.path.c_str(),
                m.effectName.c_str(), m.numOutputs);
  std::puts("");
  PrintTable(rows, o.markdown);
  for (const Row& r : rows)
  {
    if (r.m.peak <= 0.0)
      std::printf("warning: %s was silent at %d voices while measured\n", r.module->label.c_str(),
                  r.voices);
    if (r.m.nonFinite > 0)
      std::printf("warning: %s gave %lld samples that were not finite at %d voices\n",
                  r.module->label.c_str(), static_cast<long long>(r.m.nonFinite), r.voices);
  }
  if (!o.csvPath.empty() && !WriteCsv(o.csvPath, rows, referenceFactor, o))
  {
    std::fprintf(stderr, "tgbench: cannot write %s\n", o.csvPath.c_str());
    return 1;
  }
  return 0;
}
