#include "tools/common/ProgramRender.h"

#include "host/PluginInstance.h"
#include "tools/common/RenderSchedule.h"

#include <algorithm>
#include <cmath>

namespace ProgramRender
{
namespace
{
constexpr int kBlockSize = 512;
constexpr int kVelocity = 127;

// The factory bank's sections.
constexpr int kFirstDrum = 61;
constexpr int kFirstEffect = 67;
constexpr int kFirstBass = 71;
constexpr int kFirstInstrument = 81;
constexpr int kFirstPad = 92;
constexpr int kFirstSynth = 99;

Plan Phrase(int root, std::initializer_list<std::pair<int, double>> steps, double seconds)
{
  Plan plan{"phrase", {}, seconds};
  double at = 0.0;
  for (const auto& [interval, length] : steps)
  {
    plan.notes.push_back({root + interval, at, length * 0.9});
    at += length;
  }
  return plan;
}
} // namespace

Plan PlanFor(int program, double scale)
{
  Plan plan;
  if (program < kFirstDrum)
    plan = {"hit", {{36, 0.0, 0.6}}, 1.5}; // held long enough for the longest body
  else if (program < kFirstEffect)
    plan = {"hit", {{60, 0.0, 0.3}}, 1.5};
  else if (program < kFirstBass)
    plan = {"held", {{57, 0.0, 1.0}}, 2.0};
  else if (program < kFirstInstrument)
    plan = Phrase(40, {{0, 0.45}, {12, 0.2}, {7, 0.2}, {10, 0.3}}, 2.0);
  else if (program < kFirstPad)
    plan = Phrase(57, {{0, 0.5}, {4, 0.25}, {7, 0.25}, {12, 0.5}}, 2.5);
  else if (program < kFirstSynth)
    // Root, octave and twelfth: partials 1, 2 and 3 of the root, so the chord's period is
    // the root's.
    plan = {"chord", {{57, 0.0, 1.6}, {69, 0.0, 1.6}, {76, 0.0, 1.6}}, 3.0};
  else
    plan = Phrase(69, {{0, 0.45}, {3, 0.2}, {7, 0.2}, {12, 0.35}}, 2.0);
  for (Note& n : plan.notes)
  {
    n.start *= scale;
    n.length *= scale;
  }
  plan.seconds *= scale;
  return plan;
}

double NoteFrequency(int note, double modeValue, double pitchValue)
{
  const int mode = int(std::floor(modeValue * 9.0 + 0.5));
  static constexpr double kFixed[] = {39.2, 44.0, 50.0, 56.0, 64.84};
  double f = 880.0 * std::pow(2.0, (note - 69) / 12.0);
  if (mode == 1)
    f /= 2.0;
  else if (mode == 2)
    f *= 2.0;
  else if (mode >= 3 && mode <= 7)
    f = kFixed[mode - 3];
  return f * std::pow(2.0, 2.0 * (pitchValue - 0.5));
}

bool Render(const std::string& modulePath, int program, const Plan& plan, double sampleRate,
            Result* out, std::string* error)
{
  VstHost::PluginInstance plug;
  if (!plug.Load(modulePath))
  {
    if (error)
      *error = plug.Error();
    return false;
  }
  plug.Start(sampleRate, kBlockSize);
  plug.SetProgram(program);
  out->name = plug.ProgramName();
  const int first = plan.notes.empty() ? 60 : plan.notes.front().note;
  out->noteHz = NoteFrequency(first, plug.GetParameter(86), plug.GetParameter(7));

  RenderSchedule schedule;
  for (const Note& n : plan.notes)
    schedule.AddNote(int64_t(n.start * sampleRate), int64_t((n.start + n.length) * sampleRate),
                     n.note, kVelocity);
  const int64_t total = int64_t(plan.seconds * sampleRate);
  out->left.assign(size_t(total), 0.0);
  out->right.assign(size_t(total), 0.0);
  std::vector<std::vector<double>> block(2, std::vector<double>(kBlockSize));
  for (int64_t at = 0; at < total; at += kBlockSize)
  {
    const int frames = int(std::min<int64_t>(kBlockSize, total - at));
    schedule.ForBlock(at, frames,
                      [&](int offset, uint8_t status, uint8_t data1, uint8_t data2)
                      { plug.QueueMidi(offset, status, data1, data2); });
    plug.Render(block, frames);
    std::copy_n(block[0].begin(), frames, out->left.begin() + at);
    std::copy_n(block[1].begin(), frames, out->right.begin() + at);
  }
  out->mono.resize(size_t(total));
  for (size_t i = 0; i < out->mono.size(); ++i)
    out->mono[i] = 0.5 * (out->left[i] + out->right[i]);
  return true;
}
} // namespace ProgramRender
