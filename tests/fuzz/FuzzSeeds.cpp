// Writes the fuzz targets' seed corpus from the instrument itself: real program and bank
// chunks, a program file of each kind, a preset text file, curve texts, user waveform
// files, small MIDI files and event lists. Usage: fuzz_seeds CORPUS-DIR (each target's
// seeds go into CORPUS-DIR/<target>/seed-*; regression inputs there are left alone).
#include "FuzzInstrument.h"
#include "synth/ParameterKeys.h"
#include "synth/Thumpgeist.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace
{
std::string root;

void Seed(const char* target, const char* name, const Fuzz::Bytes& bytes)
{
  const std::string dir = root + "/" + target;
  mkdir(dir.c_str(), 0755);
  Fuzz::WriteFile(dir + "/seed-" + name, bytes.data(), bytes.size());
}

void Seed(const char* target, const char* name, const std::string& text)
{
  Seed(target, name, Fuzz::Bytes(text.begin(), text.end()));
}

Fuzz::Bytes Prefixed(uint8_t first, const Fuzz::Bytes& rest)
{
  Fuzz::Bytes out{first};
  out.insert(out.end(), rest.begin(), rest.end());
  return out;
}

void Put32(Fuzz::Bytes& out, int32_t v)
{
  const auto* p = reinterpret_cast<const uint8_t*>(&v);
  out.insert(out.end(), p, p + 4);
}

void PutBE(Fuzz::Bytes& out, uint32_t v, int bytes)
{
  for (int i = bytes - 1; i >= 0; --i)
    out.push_back(uint8_t(v >> (8 * i)));
}

Fuzz::Bytes ReadFile(const std::string& path)
{
  Fuzz::Bytes bytes;
  Fuzz::Require(ProgramFile::ReadWholeFile(path.c_str(), &bytes), "a written file reads back");
  return bytes;
}

// A curve text short enough for a seed: the identity with four decimals.
std::string CompactCurve()
{
  std::string text;
  char number[32];
  for (int k = 0; k < 512; ++k)
  {
    std::snprintf(number, sizeof number, k ? ",%.4f" : "%.4f", 2.0 * k / 511.0 - 1.0);
    text += number;
  }
  return text;
}

Fuzz::Bytes MidiTrack(const Fuzz::Bytes& events)
{
  Fuzz::Bytes out{'M', 'T', 'r', 'k'};
  PutBE(out, uint32_t(events.size()), 4);
  out.insert(out.end(), events.begin(), events.end());
  return out;
}

Fuzz::Bytes MidiHeader(int format, int tracks, int division)
{
  Fuzz::Bytes out{'M', 'T', 'h', 'd', 0, 0, 0, 6};
  PutBE(out, uint32_t(format), 2);
  PutBE(out, uint32_t(tracks), 2);
  PutBE(out, uint32_t(division), 2);
  return out;
}
} // namespace

int main(int argc, char** argv)
{
  if (argc != 2)
  {
    std::fprintf(stderr, "usage: fuzz_seeds CORPUS-DIR\n");
    return 2;
  }
  root = argv[1];
  mkdir(root.c_str(), 0755);
  Fuzz::Instrument& inst = Fuzz::TheInstrument();
  auto* synth = static_cast<Thumpgeist*>(inst.plug);

  // Chunks: the current program with and without its header, a bank whose first slot
  // holds that state and whose others are empty, and a header with nothing behind it.
  const Fuzz::Bytes program = inst.Chunk(false);
  Seed("fuzz_set_chunk", "program", Prefixed(0, program));
  Seed("fuzz_set_chunk", "program-headerless",
       Prefixed(0, Fuzz::Bytes(program.begin() + 8, program.end())));
  Fuzz::Bytes bank(program.begin(), program.begin() + 8);
  for (int slot = 0; slot < Thumpgeist::kNumPrograms; ++slot)
  {
    const std::string name = slot == 0 ? "Kick" : "";
    Put32(bank, int32_t(name.size()));
    bank.insert(bank.end(), name.begin(), name.end());
    bank.push_back(slot == 0 ? 1 : 0);
    if (slot == 0)
      bank.insert(bank.end(), program.begin() + 8, program.end());
  }
  Seed("fuzz_set_chunk", "bank", Prefixed(1, bank));
  Seed("fuzz_set_chunk", "header-only",
       Prefixed(1, Fuzz::Bytes(program.begin(), program.begin() + 8)));

  // Program files: the instrument's own (a chunk), and one of normalized values.
  const std::string fxp = Fuzz::TempPath("seed.fxp");
  Fuzz::Require(inst.plug->SaveProgramFile(fxp.c_str()), "the program saves");
  const Fuzz::Bytes chunkFile = ReadFile(fxp);
  std::remove(fxp.c_str());
  Seed("fuzz_program_file", "chunk.fxp", chunkFile);
  Fuzz::Bytes valuesFile(chunkFile.begin(), chunkFile.begin() + ProgramFile::kParamsOffset);
  std::memcpy(valuesFile.data() + 8, "FxCk", 4);
  for (int i = 0; i < Thumpgeist::kNumParams; ++i)
  {
    const float v = float(inst.plug->GetParam(i)->GetNormalized());
    uint32_t raw = 0;
    std::memcpy(&raw, &v, 4);
    PutBE(valuesFile, raw, 4);
  }
  Seed("fuzz_program_file", "values.fxp", valuesFile);

  // A preset text file as the instrument writes it, with a shorter curve and without the
  // waveform text (which the reader passes over).
  const std::string txt = Fuzz::TempPath("seed.txt");
  Fuzz::Require(synth->SavePresetTextFile(txt.c_str()), "the preset text saves");
  std::ifstream in(txt);
  std::string line, preset;
  while (std::getline(in, line))
  {
    if (line.rfind(ParameterKeys::kWaveData, 0) == 0)
      continue;
    if (line.rfind(ParameterKeys::kCurveData, 0) == 0)
      line = std::string(ParameterKeys::kCurveData) + " = " + CompactCurve() + ";";
    preset += line + "\n";
  }
  std::remove(txt.c_str());
  Seed("fuzz_preset_text", "preset.txt", preset);
  Seed("fuzz_preset_text", "short.txt", "Name = Short;\r\nVolume = 0.5;\r\n");

  Seed("fuzz_curve_text", "identity", CompactCurve());
  Seed("fuzz_curve_text", "too-few", std::string("+1, -0.5,\t0.25e1\n"));

  // User waveforms: one short sine cycle, a file of three values and a whole cycle.
  Fuzz::Bytes sine, three;
  for (int i = 0; i < 64; ++i)
  {
    const double v = std::sin(2.0 * M_PI * i / 64.0);
    const auto* p = reinterpret_cast<const uint8_t*>(&v);
    sine.insert(sine.end(), p, p + 8);
  }
  for (double v : {0.5, -1.0, 0.25})
  {
    const auto* p = reinterpret_cast<const uint8_t*>(&v);
    three.insert(three.end(), p, p + 8);
  }
  Seed("fuzz_user_waveform", "sine64.raw", sine);
  Seed("fuzz_user_waveform", "three.raw", three);
  // The whole cycle is a saw: 4096 values, read as they are rather than stretched.
  Fuzz::Bytes saw;
  for (int i = 0; i < 4096; ++i)
  {
    const double v = 2.0 * i / 4096.0 - 1.0;
    const auto* p = reinterpret_cast<const uint8_t*>(&v);
    saw.insert(saw.end(), p, p + 8);
  }
  Seed("fuzz_user_waveform", "saw4096.raw", saw);

  // MIDI files: format 0 with a tempo, notes in running status and a system-exclusive
  // block; format 1 with a tempo track and a note track.
  Fuzz::Bytes smf0 = MidiHeader(0, 1, 96);
  const Fuzz::Bytes track0 =
      MidiTrack({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0x90, 0x24, 0x64,
                 0x60, 0x24, 0x00, 0x00, 0xF0, 0x02, 0x7E, 0xF7, 0x10, 0xB0, 0x07,
                 0x50, 0x81, 0x00, 0xE0, 0x00, 0x40, 0x00, 0xFF, 0x2F, 0x00});
  smf0.insert(smf0.end(), track0.begin(), track0.end());
  Seed("fuzz_midi_file", "format0.mid", smf0);
  Fuzz::Bytes smf1 = MidiHeader(1, 2, 480);
  for (const Fuzz::Bytes& t :
       {MidiTrack({0x00, 0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0, 0x00, 0xFF, 0x2F, 0x00}),
        MidiTrack({0x00, 0xC0, 0x05, 0x00, 0x90, 0x30, 0x7F, 0x83, 0x60, 0x80, 0x30, 0x40, 0x00,
                   0xFF, 0x2F, 0x00})})
    smf1.insert(smf1.end(), t.begin(), t.end());
  Seed("fuzz_midi_file", "format1.mid", smf1);

  // Event lists (see FuzzProcessEvents.cpp): a note on, a controller and a bend in one
  // block, the note off and a system-exclusive event in the next.
  auto event = [](uint8_t kind, int32_t offset, uint8_t s, uint8_t d1, uint8_t d2)
  {
    Fuzz::Bytes e{kind};
    Put32(e, offset);
    e.insert(e.end(), {s, d1, d2});
    return e;
  };
  Fuzz::Bytes events{3, 0x00, 0x02};
  for (const Fuzz::Bytes& e :
       {event(0, 0, 0x90, 36, 127), event(0, 100, 0xB0, 1, 64), event(0, 300, 0xE0, 0, 96)})
    events.insert(events.end(), e.begin(), e.end());
  events.insert(events.end(), {2, 0x00, 0x01});
  for (const Fuzz::Bytes& e : {event(0, 40, 0x80, 36, 0), event(3, 0, 0, 0, 0)})
    events.insert(events.end(), e.begin(), e.end());
  Seed("fuzz_process_events", "note", events);
  // A full list in one short block: a chord with every kind of status and offsets before,
  // inside and after the block.
  Fuzz::Bytes full{64, 0x40, 0x00};
  for (int i = 0; i < 64; ++i)
  {
    const Fuzz::Bytes e =
        event(uint8_t(i % 5), (i - 8) * 9, uint8_t(0x80 + 8 * i), uint8_t(24 + i), 100);
    full.insert(full.end(), e.begin(), e.end());
  }
  Seed("fuzz_process_events", "full-list", full);
  return 0;
}
