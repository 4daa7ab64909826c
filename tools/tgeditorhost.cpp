// tgeditorhost: opens a VST 2.4 module's editor in a window of its own, as a host does,
// and takes commands on standard input, one a line, each answered with one line on
// standard output. Scripts drive the editor with simulated mouse and keys (the window
// sits at the screen's top-left corner, so screen and editor coordinates agree) and ask
// what the plug-in told the host.
//
// Everything runs on the main thread (the host's user-interface thread) except the
// reading of standard input, which a thread of its own hands over line by line.
#include "host/PluginInstance.h"
#include "tools/editorhost/HostWindow.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace
{
const char* const kUsage =
    "usage: tgeditorhost MODULE\n"
    "  Opens the module's editor in a window at the screen's top-left corner and answers\n"
    "  commands from standard input, one line each:\n"
    "    open | close          opens or closes the editor (answers 'open 1', 'close 1', ...)\n"
    "    wait MS               keeps the window running for MS milliseconds\n"
    "    param N               'param N VALUE DISPLAY'\n"
    "    automation            the begin/automate/end edits seen since the last call\n"
    "    program               'program INDEX NAME'\n"
    "    audio N               renders N blocks of 512 frames of silence, as a host's audio\n"
    "                          does between the editor's idle calls ('audio N')\n"
    "    state                 'state BYTES HASH': the size and a hash (FNV-1a, 64 bits) of\n"
    "                          the current program's chunk, which holds the distortion curve\n"
    "    classes               'classes 1' while the editor's window class \"IPlugWndClass\"\n"
    "                          is registered for the module (Windows; 0 elsewhere)\n"
    "    children              'children K', the host window's child windows\n"
    "    quit                  closes the editor and ends (so does the end of the input)\n";

constexpr int kIdleMs = 10;
constexpr int kBlockFrames = 512;

// Standard input, read on a thread of its own so the window keeps running meanwhile.
class LineReader
{
public:
  LineReader()
      : reader([this] {
          std::string line;
          while (std::getline(std::cin, line))
          {
            const std::lock_guard<std::mutex> lock(mutex);
            lines.push_back(line);
          }
          const std::lock_guard<std::mutex> lock(mutex);
          ended = true;
        })
  {
  }
  // A read blocked on the input cannot be interrupted; the process ends it.
  ~LineReader() { reader.detach(); }
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // The next line, if one has come; false otherwise (atEnd tells whether more can come).
  bool Next(std::string& line, bool& atEnd)
  {
    const std::lock_guard<std::mutex> lock(mutex);
    atEnd = ended && lines.empty();
    if (lines.empty())
      return false;
    line = lines.front();
    lines.pop_front();
    return true;
  }

private:
  std::mutex mutex;
  std::deque<std::string> lines;
  bool ended = false;
  std::thread reader;
};

class EditorHost
{
public:
  explicit EditorHost(const std::string& path) : modulePath(path) {}

  bool Load()
  {
    if (!plugin.Load(modulePath))
    {
      std::fprintf(stderr, "tgeditorhost: cannot load %s: %s\n", modulePath.c_str(),
                   plugin.Error().c_str());
      return false;
    }
    plugin.Start(44100.0, kBlockFrames);
    return true;
  }

  // One pass of the host's loop: the window's messages, then the editor's idle call.
  void Run()
  {
    window.Pump();
    if (editorOpen)
      plugin.Dispatch(Vst::effEditIdle);
  }

  void RunFor(int ms)
  {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do
    {
      Run();
      std::this_thread::sleep_for(std::chrono::milliseconds(kIdleMs));
    } while (std::chrono::steady_clock::now() < until);
  }

  // Carries out one command; false for quit.
  bool Command(const std::string& line)
  {
    std::istringstream in(line);
    std::string word;
    in >> word;
    if (word.empty())
      return true;
    if (word == "quit")
      return false;
    if (word == "open")
      Answer("open %d", Open() ? 1 : 0);
    else if (word == "close")
      Answer("close %d", Close() ? 1 : 0);
    else if (word == "wait")
    {
      int ms = 0;
      in >> ms;
      RunFor(ms);
      Answer("wait");
    }
    else if (word == "param")
    {
      int index = -1;
      in >> index;
      if (index < 0 || index >= plugin.NumParams())
        Answer("param %d none", index);
      else
        Answer("param %d %.6f %s", index, double(plugin.GetParameter(index)),
               plugin.ParamDisplay(index).c_str());
    }
    else if (word == "automation")
      Answer("automation%s", AutomationText().c_str());
    else if (word == "program")
      Answer("program %d %s", plugin.GetProgram(), plugin.ProgramName().c_str());
    else if (word == "audio")
    {
      int blocks = 0;
      in >> blocks;
      RenderBlocks(blocks);
      Answer("audio %d", blocks);
    }
    else if (word == "state")
    {
      const std::vector<uint8_t> chunk = plugin.GetChunk(false);
      uint64_t hash = 14695981039346656037ull;
      for (const uint8_t byte : chunk)
        hash = (hash ^ byte) * 1099511628211ull;
      Answer("state %zu %016llx", chunk.size(), static_cast<unsigned long long>(hash));
    }
    else if (word == "classes")
      Answer("classes %d",
             HostWindow::ClassRegistered("IPlugWndClass", modulePath.c_str()) ? 1 : 0);
    else if (word == "children")
      Answer("children %d", window.ChildCount());
    else
      Answer("unknown %s", word.c_str());
    return true;
  }

  void Shutdown()
  {
    Close();
    plugin.Unload();
  }

private:
  bool Open()
  {
    if (editorOpen)
      return true;
    EditorRectangle* rect = nullptr;
    if (plugin.Dispatch(Vst::effEditGetRect, 0, 0, &rect) == 0 || !rect)
      return false;
    const int w = rect->right - rect->left;
    const int h = rect->bottom - rect->top;
    if (w <= 0 || h <= 0 || !window.Open(w, h, "tgeditorhost"))
      return false;
    if (plugin.Dispatch(Vst::effEditOpen, 0, 0, window.Handle()) == 0)
    {
      window.Close();
      return false;
    }
    editorOpen = true;
    return true;
  }

  bool Close()
  {
    if (!editorOpen)
      return false;
    const bool closed = plugin.Dispatch(Vst::effEditClose) != 0;
    editorOpen = false;
    window.Close();
    return closed;
  }

  // The host's audio, here on the user-interface thread between two idle calls.
  void RenderBlocks(int blocks)
  {
    std::vector<std::vector<double>> outputs(std::max(plugin.NumOutputs(), 0),
                                             std::vector<double>(kBlockFrames));
    for (int b = 0; b < blocks; ++b)
    {
      plugin.Render(outputs, kBlockFrames, VstHost::PluginInstance::ProcessMode::FloatReplacing);
      Run();
    }
  }

  std::string AutomationText()
  {
    std::string text;
    char item[64];
    for (const VstHost::AutomationEvent& e : plugin.Automation())
    {
      if (e.opcode == Vst::audioMasterBeginEdit)
        std::snprintf(item, sizeof(item), " begin %d", e.index);
      else if (e.opcode == Vst::audioMasterEndEdit)
        std::snprintf(item, sizeof(item), " end %d", e.index);
      else
        std::snprintf(item, sizeof(item), " automate %d %.6f", e.index, double(e.value));
      if (!text.empty())
        text += ';';
      text += item;
    }
    plugin.ClearAutomation();
    return text;
  }

  template <typename... Args> static void Answer(const char* format, Args... args)
  {
    std::printf(format, args...);
    std::printf("\n");
    std::fflush(stdout);
  }

  // The rectangle effEditGetRect hands out, as the plug-in lays it out.
  struct EditorRectangle
  {
    int16_t top, left, bottom, right;
  };

  std::string modulePath;
  VstHost::PluginInstance plugin;
  HostWindow window;
  bool editorOpen = false;
};
} // namespace

int main(int argc, char** argv)
{
  if (argc != 2 || argv[1][0] == '-')
  {
    std::fputs(kUsage, stderr);
    return 2;
  }
  EditorHost host(argv[1]);
  if (!host.Load())
    return 1;
  LineReader input;
  for (;;)
  {
    std::string line;
    bool atEnd = false;
    if (input.Next(line, atEnd))
    {
      if (!host.Command(line))
        break;
      continue;
    }
    if (atEnd)
      break;
    host.RunFor(kIdleMs);
  }
  host.Shutdown();
  return 0;
}
