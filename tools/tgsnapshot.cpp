// tgsnapshot: draws the editor off-screen into a PNG file through the same drawing code
// a window uses (the controls' painting into the editor's surface).
//
//   tgsnapshot [--page synth|scope|about] [--program N|NAME] [--fxp FILE | --preset FILE]
//              [--param NAME=V | INDEX=V ...] [--note NOTE:VELOCITY:SECONDS ...]
//              [--mouse EVENT ...] [--no-placeholders] [-o FILE.png]
//   tgsnapshot --list-controls [--page ...]
//
// The editor is the instrument's own, as a host shows it. --list-controls prints one
// line per control instead of drawing (after the page is chosen and the events ran):
//   index param left top right bottom page hidden class
// (param -1 for a control bound to none, page -1 for the always visible ones, hidden
// 0 or 1), so that window tests find where to click.
//
// With --note the instrument plays before the picture, as it does in a host while the
// editor is open: every note starts at once and is released after its SECONDS, and
// the longest decides how long the instrument renders, block by block through its
// block routine with processing on and the page's live displays fed (scope, level
// eyes, maximum level), the editor's timer ticking every 40 ms of sound. The picture
// shows the moment the rendering ends.
//
// Parameter values are normalized (0..1). Mouse events run in order, each followed by
// one tick of the editor's timer (dirty controls collected and drawn):
//   down:X,Y  up:X,Y  drag:X,Y  click:X,Y (down and up)  dbl:X,Y  wheel:X,Y,NOTCHES
// prefixed with "right+", "shift+" or "ctrl+" for the button and modifiers, e.g.
//   --mouse down:80,115 --mouse drag:80,75 --mouse up:80,75
// With --compare REF.png the picture is also compared with REF.png (another build's
// snapshot, say the Windows one drawn with GDI fonts): the share of pixels differing by
// more than --threshold (default 24) in any colour is printed, and the program exits
// with 3 when that share exceeds --tolerance (default 0.02).
#include "editor/controls/IControl.h"
#include "editor/layout/ThumpgeistEditor.h"
#include "synth/Thumpgeist.h"
#include "tools/snapshot/SnapshotGraphics.h"

#include <cxxabi.h>

#include <algorithm>
#include <cmath>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

namespace
{
int Usage()
{
  std::fprintf(stderr, "usage: tgsnapshot [--page synth|scope|about] [--program N|NAME]\n"
                       "                  [--fxp FILE | --preset FILE]\n"
                       "                  [--param NAME=V | INDEX=V ...] [--mouse EVENT ...]\n"
                       "                  [--note NOTE:VELOCITY:SECONDS ...]\n"
                       "                  [--no-placeholders] [-o FILE.png]\n"
                       "                  [--compare REF.png [--threshold N] [--tolerance SHARE]]\n"
                       "       tgsnapshot --list-controls [--page ...] [--mouse EVENT ...]\n"
                       "events: down:X,Y up:X,Y drag:X,Y click:X,Y dbl:X,Y wheel:X,Y,N\n"
                       "        (prefix right+, shift+ or ctrl+)\n");
  return 2;
}

int FindParam(IPlugBase& plug, const std::string& key)
{
  char* end = nullptr;
  const long index = std::strtol(key.c_str(), &end, 10);
  if (!key.empty() && *end == '\0')
    return index >= 0 && index < plug.NParams() ? int(index) : -1;
  for (int i = 0; i < plug.NParams(); ++i)
    if (key == plug.GetParam(i)->Name())
      return i;
  return -1;
}

// One timer tick: what is dirty is drawn.
void Tick(IGraphics& g)
{
  IRect dirty;
  if (g.CollectDirty(dirty))
    g.Draw(dirty);
}

struct Note
{
  int note = 0;
  int velocity = 0;
  double seconds = 0.0;
};

bool ReadNote(const char* text, Note& n)
{
  char end = 0;
  return std::sscanf(text, "%d:%d:%lf%c", &n.note, &n.velocity, &n.seconds, &end) == 3 &&
         n.note >= 0 && n.note < 128 && n.velocity > 0 && n.velocity < 128 && n.seconds > 0.0 &&
         n.seconds <= 600.0;
}

// The notes sound through the block routine as a host renders them, the editor's timer
// ticking every 40 ms of sound; processing stays on for the picture.
void PlayNotes(Thumpgeist& plug, IGraphics& g, const std::vector<Note>& notes)
{
  const double rate = plug.GetSampleRate();
  const int block = std::max(plug.GetBlockSize(), 1);
  double longest = 0.0;
  for (const Note& n : notes)
    longest = std::max(longest, n.seconds);
  const long total = long(std::ceil(longest * rate));
  const long tickFrames = std::max(long(rate * 0.04), 1L);
  std::vector<double> left(static_cast<size_t>(block));
  std::vector<double> right(static_cast<size_t>(block));
  double* outputs[2] = {left.data(), right.data()};
  plug.OnActivate(true);
  for (const Note& n : notes)
    plug.ProcessMidiMessage({0, 0x90, uint8_t(n.note), uint8_t(n.velocity)});
  long nextTick = tickFrames;
  for (long done = 0; done < total;)
  {
    const int frames = int(std::min<long>(block, total - done));
    for (const Note& n : notes)
    {
      // A note released inside this block (not one that lasts to the end).
      const long off = long(std::floor(n.seconds * rate)) - done;
      if (n.seconds < longest && off >= 0 && off < frames)
        plug.ProcessMidiMessage({int(off), 0x80, uint8_t(n.note), 0});
    }
    {
      PlatformLockGuard lock(plug.Mutex());
      plug.ProcessBlock(nullptr, outputs, frames);
    }
    done += frames;
    for (; nextTick <= done; nextTick += tickFrames)
      Tick(g);
  }
  // What the last blocks changed: one tick lets the live displays notice it, the next
  // draws them.
  Tick(g);
  Tick(g);
}

bool RunEvent(IGraphics& g, std::string event)
{
  IMouseMod mod;
  mod.left = true;
  for (;;)
  {
    if (event.rfind("right+", 0) == 0)
    {
      mod.left = false;
      mod.right = true;
      event.erase(0, 6);
    }
    else if (event.rfind("shift+", 0) == 0)
    {
      mod.shift = true;
      event.erase(0, 6);
    }
    else if (event.rfind("ctrl+", 0) == 0)
    {
      mod.control = true;
      event.erase(0, 5);
    }
    else
      break;
  }
  const std::size_t colon = event.find(':');
  if (colon == std::string::npos)
    return false;
  const std::string kind = event.substr(0, colon);
  int x = 0;
  int y = 0;
  int n = 0;
  const int got = std::sscanf(event.c_str() + colon + 1, "%d,%d,%d", &x, &y, &n);
  if (got < 2 || (kind == "wheel" && got < 3))
    return false;
  if (kind == "down")
    g.OnMouseDown(x, y, mod);
  else if (kind == "up")
    g.OnMouseUp(x, y, mod);
  else if (kind == "drag")
    g.OnMouseDrag(x, y, mod);
  else if (kind == "click")
  {
    g.OnMouseDown(x, y, mod);
    g.OnMouseUp(x, y, mod);
  }
  else if (kind == "dbl")
  {
    if (g.OnMouseDblClick(x, y, mod))
      g.OnMouseUp(x, y, mod);
  }
  else if (kind == "wheel")
    g.OnMouseWheel(x, y, mod, n);
  else
    return false;
  Tick(g);
  return true;
}

// A control's class as a reader knows it ("IKnobMultiControl").
std::string ClassName(const IControl& control)
{
  const char* mangled = typeid(control).name();
  int status = 0;
  char* readable = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
  std::string name = status == 0 && readable ? readable : mangled;
  std::free(readable);
  return name;
}

void ListControls(const ThumpgeistEditor& editor)
{
  const IGraphics& g = editor.Graphics();
  for (int i = 0; i < g.NControls(); ++i)
  {
    const IControl* c = g.GetControl(i);
    const IRect& r = c->GetRect();
    std::printf("%d %d %d %d %d %d %d %d %s\n", i, c->GetParamIdx(), r.left, r.top, r.right,
                r.bottom, editor.PageOf(i), c->IsHidden() ? 1 : 0, ClassName(*c).c_str());
  }
}
} // namespace

int main(int argc, char** argv)
{
  std::string out = "snapshot.png";
  int page = 0;
  int program = -1;
  std::string programName;
  std::vector<Note> notes;
  bool placeholders = true;
  bool list = false;
  std::vector<std::pair<std::string, double>> params;
  std::vector<std::string> events;
  std::string reference;
  std::string programFile;
  std::string presetFile;
  int threshold = 24;
  double tolerance = 0.02;
  for (int i = 1; i < argc; ++i)
  {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "-o" && hasValue)
      out = argv[++i];
    else if (arg == "--page" && hasValue)
    {
      const std::string p = argv[++i];
      page = p == "synth" || p == "0"   ? 0
             : p == "scope" || p == "1" ? 1
             : p == "about" || p == "2" ? 2
                                        : -1;
      if (page < 0)
        return Usage();
    }
    else if (arg == "--program" && hasValue)
    {
      const std::string p = argv[++i];
      char* end = nullptr;
      program = int(std::strtol(p.c_str(), &end, 10));
      if (p.empty() || *end != '\0')
      {
        program = -1;
        programName = p;
      }
    }
    else if (arg == "--note" && hasValue)
    {
      Note n;
      if (!ReadNote(argv[++i], n))
        return Usage();
      notes.push_back(n);
    }
    else if (arg == "--param" && hasValue)
    {
      const std::string p = argv[++i];
      const std::size_t eq = p.rfind('=');
      if (eq == std::string::npos)
        return Usage();
      params.emplace_back(p.substr(0, eq), std::atof(p.c_str() + eq + 1));
    }
    else if (arg == "--mouse" && hasValue)
      events.emplace_back(argv[++i]);
    else if (arg == "--fxp" && hasValue)
      programFile = argv[++i];
    else if (arg == "--preset" && hasValue)
      presetFile = argv[++i];
    else if (arg == "--compare" && hasValue)
      reference = argv[++i];
    else if (arg == "--threshold" && hasValue)
      threshold = std::atoi(argv[++i]);
    else if (arg == "--tolerance" && hasValue)
      tolerance = std::atof(argv[++i]);
    else if (arg == "--no-placeholders")
      placeholders = false;
    else if (arg == "--list-controls")
      list = true;
    else
      return Usage();
  }

  Thumpgeist plug(nullptr);
  for (int k = 0; k < plug.NPresets() && !programName.empty(); ++k)
    if (plug.GetPresetName(k) == programName)
    {
      program = k;
      programName.clear();
    }
  if (!programName.empty())
  {
    std::fprintf(stderr, "tgsnapshot: no program \"%s\"\n", programName.c_str());
    return 1;
  }
  if (program >= 0 && !plug.RestorePreset(program))
    std::fprintf(stderr, "tgsnapshot: program %d could not be restored; the current sound stays\n",
                 program);
  // A stored sound: a program file (.fxp) or a preset text file.
  if (!programFile.empty() && !plug.LoadProgramFile(programFile.c_str()))
  {
    std::fprintf(stderr, "tgsnapshot: cannot load the program file %s\n", programFile.c_str());
    return 1;
  }
  if (!presetFile.empty() && !plug.LoadPresetTextFile(presetFile.c_str()))
  {
    std::fprintf(stderr, "tgsnapshot: cannot load the preset text file %s\n", presetFile.c_str());
    return 1;
  }
  for (const auto& [key, value] : params)
  {
    const int idx = FindParam(plug, key);
    if (idx < 0)
    {
      std::fprintf(stderr, "tgsnapshot: no parameter \"%s\"\n", key.c_str());
      return 1;
    }
    plug.SetParameterFromEditor(idx, value);
  }

  auto* editor = new ThumpgeistEditor(
      &plug, std::make_unique<SnapshotGraphics>(&plug, ThumpgeistEditor::kWidth,
                                                ThumpgeistEditor::kHeight, placeholders));
  auto* g = static_cast<SnapshotGraphics*>(&editor->Graphics());
  plug.AttachEditor(editor); // the plug-in owns the editor from here
  if (page != ThumpgeistEditor::kSynthPage)
    editor->Pages().ShowPage(page);
  // The window's first paint covers everything.
  g->SetAllControlsDirty();
  g->Draw(IRect(0, 0, g->Width(), g->Height()));
  if (!notes.empty())
    PlayNotes(plug, *g, notes);
  for (const std::string& e : events)
    if (!RunEvent(*g, e))
    {
      std::fprintf(stderr, "tgsnapshot: cannot read the event \"%s\"\n", e.c_str());
      return Usage();
    }
  if (list)
  {
    ListControls(*editor);
    return 0;
  }
  if (!g->WritePng(out.c_str()))
  {
    std::fprintf(stderr, "tgsnapshot: cannot write %s\n", out.c_str());
    return 1;
  }
  std::printf("%s: %d x %d, page %d, %d controls, %d placeholder images\n", out.c_str(), g->Width(),
              g->Height(), page, g->NControls(), g->PlaceholderCount());
  if (reference.empty())
    return 0;
  SnapshotGraphics::Difference d;
  if (!g->Compare(reference.c_str(), threshold, d))
  {
    std::fprintf(stderr, "tgsnapshot: cannot compare with %s (unreadable or another size)\n",
                 reference.c_str());
    return 3;
  }
  std::printf("against %s: %.3f%% of the pixels differ by more than %d, largest %d, mean %.3f\n",
              reference.c_str(), 100.0 * d.share, threshold, d.largest, d.mean);
  return d.share <= tolerance ? 0 : 3;
}
