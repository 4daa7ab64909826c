// tgexport: plays every program of a VST 2.4 module (or a chosen list) the way it is
// meant to be heard, through our host library, into a folder of WAV files, and writes
// an index of measured figures (index.csv, index.md) and a contact sheet
// (contact-sheet.png: waveform and spectrogram of every program in one grid).
#include "host/PluginInstance.h"
#include "tools/common/ContactSheet.h"
#include "tools/common/PluginSettings.h"
#include "tools/common/ProgramRender.h"
#include "tools/common/SoundAnalysis.h"
#include "tools/common/WavWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{
const char* const kUsage =
    "usage: tgexport [options]\n"
    "  -o, --output DIR     the folder to write (default: programs)\n"
    "  --programs LIST      programs by index, range or name, separated by commas,\n"
    "                       e.g. 0-13,29,\"Vibes 1\" (default: all)\n"
    "  --module PATH        the plug-in module (default: "
#ifdef _WIN32
    "Thumpgeist.dll"
#else
    "thumpgeist.so"
#endif
    " beside tgexport)\n"
    "  --rate HZ            sample rate (default: 44100)\n"
    "  --scale F            shortens every note and render by F, 0.1 to 1 (default: 1)\n"
    "  --columns N          cells per row of the contact sheet (default: 8)\n"
    "  -h, --help           show this text\n";

struct Options
{
  std::string output = "programs";
  std::string programs;
  std::string modulePath;
  double sampleRate = 44100.0;
  double scale = 1.0;
  int columns = 8;
};

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

int UsageError(const std::string& message)
{
  std::fprintf(stderr, "tgexport: %s\n%s", message.c_str(), kUsage);
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
    double number = 0.0;
    if (arg == "-h" || arg == "--help")
    {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if ((arg == "-o" || arg == "--output") && value(v))
      o.output = v;
    else if (arg == "--programs" && value(v))
      o.programs = v;
    else if (arg == "--module" && value(v))
      o.modulePath = v;
    else if (arg == "--rate" && value(v) && ParseDouble(v, number) && number >= 8000.0 &&
             number <= 384000.0)
      o.sampleRate = number;
    else if (arg == "--scale" && value(v) && ParseDouble(v, number) && number >= 0.1 &&
             number <= 1.0)
      o.scale = number;
    else if (arg == "--columns" && value(v) && ParseDouble(v, number) && number >= 1.0 &&
             number <= 64.0)
      o.columns = int(number);
    else
      return UsageError("bad or incomplete option: " + arg);
  }
  return -1;
}

// The programs a list names, in its order; false with a message for an unknown entry.
bool SelectPrograms(const std::string& list, VstHost::PluginInstance& plug,
                    std::vector<int>& selected, std::string& message)
{
  const int count = plug.NumPrograms();
  if (list.empty())
  {
    for (int i = 0; i < count; ++i)
      selected.push_back(i);
    return true;
  }
  size_t from = 0;
  while (from <= list.size())
  {
    const size_t comma = list.find(',', from);
    const std::string item =
        list.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
    from = comma == std::string::npos ? list.size() + 1 : comma + 1;
    // An index, or a range first-last of indices, each below the program count.
    const size_t dash = item.find('-');
    int first = -1, last = -1;
    const bool isIndex = IsIndex(item) && ParseInt(item, first) && first < count;
    const bool isRange = !isIndex && dash != std::string::npos && IsIndex(item.substr(0, dash)) &&
                         IsIndex(item.substr(dash + 1)) && ParseInt(item.substr(0, dash), first) &&
                         ParseInt(item.substr(dash + 1), last) && first <= last && last < count;
    if (isIndex)
      selected.push_back(first);
    else if (isRange)
      for (int i = first; i <= last; ++i)
        selected.push_back(i);
    else if (const int found = plug.FindProgram(item); found >= 0)
      selected.push_back(found);
    else
    {
      message = "no program \"" + item + "\"";
      return false;
    }
  }
  return true;
}

// A file name from a program's number and name: letters and digits kept, the rest '-'.
std::string FileNameOf(int program, const std::string& name)
{
  char number[8];
  std::snprintf(number, sizeof number, "%03d", program);
  std::string text = std::string(number) + "_";
  for (char c : name)
    text += std::isalnum(static_cast<unsigned char>(c)) ? c : '-';
  return text + ".wav";
}

std::string Figure(double value, const char* format)
{
  if (!std::isfinite(value))
    return "-inf";
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string MarkdownCell(const std::string& text)
{
  std::string out;
  for (char c : text)
  {
    if (c == '|' || c == '#' || c == '*' || c == '_')
      out += '\\';
    out += c;
  }
  return out;
}
} // namespace

int main(int argc, char** argv)
{
  Options o;
  if (const int code = ParseArgs(argc, argv, o); code >= 0)
    return code;
  if (o.modulePath.empty())
    o.modulePath = DefaultModulePath(argv[0]);

  std::vector<int> programs;
  {
    VstHost::PluginInstance plug;
    if (!plug.Load(o.modulePath))
    {
      std::fprintf(stderr, "tgexport: cannot load %s: %s\n", o.modulePath.c_str(),
                   plug.Error().c_str());
      return 1;
    }
    std::string message;
    if (!SelectPrograms(o.programs, plug, programs, message))
      return UsageError(message);
  }
  std::error_code ec;
  std::filesystem::create_directories(o.output, ec);
  if (ec)
  {
    std::fprintf(stderr, "tgexport: cannot create %s: %s\n", o.output.c_str(),
                 ec.message().c_str());
    return 1;
  }

  const std::filesystem::path folder(o.output);
  std::ofstream csv(folder / "index.csv");
  std::ofstream md(folder / "index.md");
  if (!csv || !md)
  {
    std::fprintf(stderr, "tgexport: cannot write the index in %s\n", o.output.c_str());
    return 1;
  }
  csv << "program,name,file,play,note_hz,peak_db,rms_db,pitch_10ms_hz,pitch_100ms_hz,"
         "fall_40db_s,centroid_hz,finite\n";
  md << "| # | Name | Play | Note Hz | Peak dB | RMS dB | Pitch 10 ms | Pitch 100 ms | "
        "-40 dB after s | Centroid Hz |\n"
        "|---|---|---|---|---|---|---|---|---|---|\n";
  ContactSheet sheet(int(programs.size()), o.columns);

  int failures = 0;
  for (size_t cell = 0; cell < programs.size(); ++cell)
  {
    const int program = programs[cell];
    const ProgramRender::Plan plan = ProgramRender::PlanFor(program, o.scale);
    ProgramRender::Result result;
    std::string error;
    if (!ProgramRender::Render(o.modulePath, program, plan, o.sampleRate, &result, &error))
    {
      std::fprintf(stderr, "tgexport: program %d: %s\n", program, error.c_str());
      ++failures;
      continue;
    }
    const std::string file = FileNameOf(program, result.name);
    WavWriter wav;
    const double* channels[] = {result.left.data(), result.right.data()};
    // 24-bit files while the sound stays within full scale; a sound that goes past it
    // (its output limit off) is written as 32-bit float, so the file is not clipped and
    // holds what the index measures.
    double peak = 0.0;
    for (const std::vector<double>* side : {&result.left, &result.right})
      for (double x : *side)
        peak = std::max(peak, std::fabs(x));
    const WavWriter::Format format = peak > 1.0 ? WavWriter::Format::Float : WavWriter::Format::Pcm24;
    if (!wav.Open((folder / file).string(), int(o.sampleRate), 2, format) ||
        !wav.Write(channels, int(result.left.size())) || !wav.Close())
    {
      std::fprintf(stderr, "tgexport: %s: %s\n", file.c_str(), wav.Error().c_str());
      ++failures;
    }
    const SoundAnalysis::Figures f = SoundAnalysis::Analyse(result.mono, o.sampleRate);
    const std::string fall =
        f.fall40dB < 0.0 ? ">" + Figure(plan.seconds, "%.2f") : Figure(f.fall40dB, "%.3f");
    csv << program << ",\"" << result.name << "\"," << file << ',' << plan.kind << ','
        << Figure(result.noteHz, "%.2f") << ',' << Figure(f.peakDb, "%.1f") << ','
        << Figure(f.rmsDb, "%.1f") << ',' << Figure(f.pitchAt10ms, "%.1f") << ','
        << Figure(f.pitchAt100ms, "%.1f") << ',' << fall << ',' << Figure(f.centroidHz, "%.0f")
        << ',' << (f.finite ? 1 : 0) << '\n';
    md << "| " << program << " | " << MarkdownCell(result.name) << " | " << plan.kind << " | "
       << Figure(result.noteHz, "%.1f") << " | " << Figure(f.peakDb, "%.1f") << " | "
       << Figure(f.rmsDb, "%.1f") << " | " << Figure(f.pitchAt10ms, "%.1f") << " | "
       << Figure(f.pitchAt100ms, "%.1f") << " | " << fall << " | " << Figure(f.centroidHz, "%.0f")
       << " |\n";
    char title[96];
    std::snprintf(title, sizeof title, "%03d %s", program, result.name.c_str());
    sheet.DrawCell(int(cell), title, result.mono, o.sampleRate);
    std::fprintf(stderr, "\r%zu/%zu", cell + 1, programs.size());
  }
  std::fprintf(stderr, "\n");
  if (!sheet.WritePng((folder / "contact-sheet.png").string()))
  {
    std::fprintf(stderr, "tgexport: contact sheet: %s\n", sheet.Error().c_str());
    ++failures;
  }
  std::printf("%zu programs into %s (index.csv, index.md, contact-sheet.png)\n",
              programs.size() - size_t(failures), o.output.c_str());
  return failures == 0 ? 0 : 1;
}
