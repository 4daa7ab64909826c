// tgrender: renders notes given on the command line, or a Standard MIDI File, through a
// VST 2.4 module (driven by our host library exactly as a host drives it) into a WAV
// file, and prints the peak and RMS level. Every event is sent in the block that holds
// its sample, with its exact offset inside that block.
#include "host/MidiFile.h"
#include "host/PluginInstance.h"
#include "tools/common/LevelMeter.h"
#include "tools/common/PluginSettings.h"
#include "tools/common/RenderSchedule.h"
#include "tools/common/WavWriter.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#define TG_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define TG_ISATTY(fd) isatty(fd)
#endif

namespace
{
const char* const kUsage =
    "usage: tgrender [options] (--note N:VEL:START:LEN ... | --midi FILE)\n"
    "  --note N:VEL:START:LEN  a note: number 0-127, velocity 1-127, start and length in\n"
    "                          seconds, e.g. 36:127:0:0.5 (repeatable)\n"
    "  --midi FILE             a Standard MIDI File, format 0 or 1 (its tempo map times it)\n"
    "  -o, --output FILE       the WAV file to write (default: thumpgeist.wav)\n"
    "  --module PATH           the plug-in module (default: "
#ifdef _WIN32
    "Thumpgeist.dll"
#else
    "thumpgeist.so"
#endif
    " beside tgrender)\n"
    "  --rate HZ               sample rate (default: 44100)\n"
    "  --block N               block size in frames (default: 512)\n"
    "  --tempo BPM             the host's tempo (default: the MIDI file's first tempo, else 120);\n"
    "                          it does not retime the MIDI file\n"
    "  --program P             program by index or by name\n"
    "  --param NAME=V          set a parameter by display name or index to a normalized value,\n"
    "                          e.g. --param \"Osc1 Tune=0.6\" or --param 3=0.6 (repeatable)\n"
    "  --tail SEC              seconds rendered after the last note ends (default: 1)\n"
    "  --float                 write 32-bit float samples (default: 24-bit PCM)\n"
    "  --progress              show progress on stderr (default: only when stderr is a\n"
    "                          terminal and the render takes a while)\n"
    "  -h, --help              show this text\n";

struct NoteSpec
{
  int note = 0;
  int velocity = 0;
  double start = 0.0;
  double length = 0.0;
};

struct Options
{
  std::vector<NoteSpec> notes;
  std::string midiPath;
  std::string outputPath = "thumpgeist.wav";
  std::string modulePath;
  double sampleRate = 44100.0;
  int blockSize = 512;
  double tempo = 0.0; // 0: not given
  std::string program;
  std::vector<ParamSetting> params;
  double tail = 1.0;
  bool writeFloat = false;
  bool progress = false;
};

bool ParseNote(const std::string& text, NoteSpec& note)
{
  std::vector<std::string> parts;
  size_t from = 0;
  for (;;)
  {
    const size_t colon = text.find(':', from);
    parts.push_back(
        text.substr(from, colon == std::string::npos ? std::string::npos : colon - from));
    if (colon == std::string::npos)
      break;
    from = colon + 1;
  }
  return parts.size() == 4 && ParseInt(parts[0], note.note) && note.note >= 0 && note.note <= 127 &&
         ParseInt(parts[1], note.velocity) && note.velocity >= 1 && note.velocity <= 127 &&
         ParseDouble(parts[2], note.start) && note.start >= 0.0 &&
         ParseDouble(parts[3], note.length) && note.length > 0.0;
}

int UsageError(const std::string& message)
{
  std::fprintf(stderr, "tgrender: %s\n%s", message.c_str(), kUsage);
  return 2;
}

// Returns -1 when the options are fine, else the exit code.
int ParseArgs(int argc, char** argv, Options& o)
{
  for (int i = 1; i < argc; ++i)
  {
    const std::string arg = argv[i];
    auto value = [&](std::string& out)
    {
      if (i + 1 >= argc)
        return false;
      out = argv[++i];
      return true;
    };
    std::string v;
    if (arg == "-h" || arg == "--help")
    {
      std::fputs(kUsage, stdout);
      return 0;
    }
    else if (arg == "--float")
      o.writeFloat = true;
    else if (arg == "--progress")
      o.progress = true;
    else if (!value(v))
      return UsageError(arg.rfind('-', 0) == 0 ? "missing value after " + arg
                                               : "unexpected argument " + arg);
    else if (arg == "--note")
    {
      NoteSpec n;
      if (!ParseNote(v, n))
        return UsageError("bad note \"" + v + "\" (expected NOTE:VELOCITY:START:LENGTH)");
      o.notes.push_back(n);
    }
    else if (arg == "--midi")
      o.midiPath = v;
    else if (arg == "-o" || arg == "--output")
      o.outputPath = v;
    else if (arg == "--module")
      o.modulePath = v;
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
    else if (arg == "--tempo")
    {
      if (!ParseDouble(v, o.tempo) || o.tempo <= 0.0 || o.tempo > 1000.0)
        return UsageError("bad tempo " + v);
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
    else if (arg == "--tail")
    {
      if (!ParseDouble(v, o.tail) || o.tail < 0.0 || o.tail > 3600.0)
        return UsageError("bad tail length " + v);
    }
    else
      return UsageError("unknown option " + arg);
  }
  if (o.notes.empty() && o.midiPath.empty())
    return UsageError("nothing to render: give --note or --midi");
  return -1;
}

std::string DefaultModulePath(const char* argv0)
{
#ifdef _WIN32
  const char* name = "Thumpgeist.dll";
#else
  const char* name = "thumpgeist.so";
#endif
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty())
    exe = std::filesystem::absolute(argv0, ec);
  return (exe.parent_path() / name).string();
}

std::string FormatDb(double level)
{
  char text[32];
  if (level <= 0.0)
    return "-inf dBFS";
  std::snprintf(text, sizeof text, "%.2f dBFS", LevelMeter::ToDb(level));
  return text;
}

// Progress on stderr: from the start when asked for, otherwise only on a terminal and
// once the render has taken longer than half a second.
class Progress
{
public:
  Progress(bool isForced, int64_t totalFrames)
    : forced(isForced), terminal(TG_ISATTY(2) != 0), total(totalFrames),
      start(std::chrono::steady_clock::now())
  {
  }

  void Update(int64_t done)
  {
    if (!forced && !terminal)
      return;
    const auto now = std::chrono::steady_clock::now();
    const double elapsed = std::chrono::duration<double>(now - start).count();
    if (!forced && elapsed < 0.5)
      return;
    int percent = total > 0 ? int(done * 100 / total) : 100;
    if (!terminal && percent < 100)
      percent -= percent % 10; // a log gets a line per tenth, a terminal one line redrawn
    if (percent == lastPercent)
      return;
    lastPercent = percent;
    shown = true;
    std::fprintf(stderr, terminal ? "\rrendering %3d%%" : "rendering %3d%%\n", percent);
    std::fflush(stderr);
  }

  void Finish()
  {
    if (shown && terminal)
      std::fputs("\n", stderr);
  }

private:
  bool forced;
  bool terminal;
  int64_t total;
  std::chrono::steady_clock::time_point start;
  int lastPercent = -1;
  bool shown = false;
};

} // namespace

int main(int argc, char** argv)
{
  Options o;
  if (const int code = ParseArgs(argc, argv, o); code >= 0)
    return code;
  if (o.modulePath.empty())
    o.modulePath = DefaultModulePath(argv[0]);

  // Everything to send, at absolute samples.
  RenderSchedule schedule;
  for (const NoteSpec& n : o.notes)
    schedule.AddNote(VstHost::MidiFile::SecondsToSample(n.start, o.sampleRate),
                     VstHost::MidiFile::SecondsToSample(n.start + n.length, o.sampleRate), n.note,
                     n.velocity);
  int64_t endSample = schedule.EndSample();
  double fileTempo = 0.0;
  if (!o.midiPath.empty())
  {
    VstHost::MidiFile midi;
    if (!midi.Load(o.midiPath))
    {
      std::fprintf(stderr, "tgrender: cannot use %s: %s\n", o.midiPath.c_str(),
                   midi.Error().c_str());
      return 1;
    }
    fileTempo = midi.InitialBpm();
    for (const VstHost::MidiFileEvent& e : midi.Events())
      schedule.Add(VstHost::MidiFile::SecondsToSample(e.seconds, o.sampleRate), e.status, e.data1,
                   e.data2);
    endSample = std::max({endSample, schedule.EndSample(),
                          VstHost::MidiFile::SecondsToSample(midi.LengthSeconds(), o.sampleRate)});
  }
  const int64_t total = endSample + int64_t(std::llround(o.tail * o.sampleRate));

  VstHost::PluginInstance plug;
  if (!plug.Load(o.modulePath))
  {
    std::fprintf(stderr, "tgrender: cannot load %s: %s\n", o.modulePath.c_str(),
                 plug.Error().c_str());
    return 1;
  }
  plug.SetTempo(o.tempo > 0.0 ? o.tempo : fileTempo > 0.0 ? fileTempo : 120.0);
  plug.SetTransportPlaying(true);
  plug.Start(o.sampleRate, o.blockSize);
  if (!o.program.empty() && !ApplyProgram(plug, o.program, "tgrender"))
    return 1;
  for (const ParamSetting& p : o.params)
    if (!ApplyParam(plug, p, "tgrender"))
      return 1;

  const Vst::AEffect* effect = plug.Effect();
  const int channels = std::max(effect->numOutputs, 1);
  const bool useDouble = (effect->flags & Vst::effFlagsCanDoubleReplacing) != 0;
  std::vector<std::vector<double>> out(size_t(channels), std::vector<double>(size_t(o.blockSize)));
  std::vector<std::vector<float>> outFloat(size_t(channels),
                                           std::vector<float>(size_t(o.blockSize)));
  std::vector<double*> outPtrs;
  std::vector<float*> outFloatPtrs;
  for (int c = 0; c < channels; ++c)
  {
    outPtrs.push_back(out[size_t(c)].data());
    outFloatPtrs.push_back(outFloat[size_t(c)].data());
  }

  WavWriter wav;
  if (!wav.Open(o.outputPath, int(o.sampleRate), channels,
                o.writeFloat ? WavWriter::Format::Float : WavWriter::Format::Pcm24))
  {
    std::fprintf(stderr, "tgrender: cannot write %s: %s\n", o.outputPath.c_str(),
                 wav.Error().c_str());
    return 1;
  }

  LevelMeter meter;
  Progress progress(o.progress, total);
  for (int64_t blockStart = 0; blockStart < total; blockStart += o.blockSize)
  {
    const int frames = int(std::min<int64_t>(o.blockSize, total - blockStart));
    schedule.ForBlock(blockStart, frames,
                      [&](int offset, uint8_t status, uint8_t data1, uint8_t data2)
                      { plug.QueueMidi(offset, status, data1, data2); });
    if (useDouble)
      plug.RenderDouble(outPtrs.data(), frames);
    else
    {
      plug.RenderFloat(outFloatPtrs.data(), frames, false);
      for (int c = 0; c < channels; ++c)
        std::copy_n(outFloat[size_t(c)].data(), frames, out[size_t(c)].data());
    }
    meter.Add(outPtrs.data(), channels, frames);
    if (!wav.Write(outPtrs.data(), frames))
    {
      progress.Finish();
      std::fprintf(stderr, "tgrender: writing %s failed: %s\n", o.outputPath.c_str(),
                   wav.Error().c_str());
      return 1;
    }
    progress.Update(blockStart + frames);
  }
  progress.Finish();
  if (!wav.Close())
  {
    std::fprintf(stderr, "tgrender: writing %s failed: %s\n", o.outputPath.c_str(),
                 wav.Error().c_str());
    return 1;
  }

  std::printf("wrote %s: %lld frames (%.3f s) at %d Hz, %d channels, %s\n", o.outputPath.c_str(),
              static_cast<long long>(total), double(total) / o.sampleRate, int(o.sampleRate),
              channels, o.writeFloat ? "32-bit float" : "24-bit PCM");
  std::printf("peak: %s\n", FormatDb(meter.Peak()).c_str());
  std::printf("RMS:  %s\n", FormatDb(meter.Rms()).c_str());
  if (meter.Peak() > 1.0 && !o.writeFloat)
    std::printf("warning: the output exceeds full scale and was clipped in the file\n");
  if (meter.NonFinite() > 0)
    std::printf("warning: %lld samples were not finite (written as 0)\n",
                static_cast<long long>(meter.NonFinite()));
  return 0;
}
