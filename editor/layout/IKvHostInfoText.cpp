#include "editor/layout/IKvHostInfoText.h"

#include "synth/Thumpgeist.h"

#include <cstdio>

IKvHostInfoText::IKvHostInfoText(Thumpgeist* owner, const IRect& area, const IText& style)
  : ITextControl(owner, area, style), synth(owner)
{
  IdleTick();
}

std::string IKvHostInfoText::Format(double sampleRate, double tempo, int blockSize)
{
  char line[160];
  std::snprintf(line, sizeof line,
                "HOST SAMPLE RATE: %7.2f Hz    TEMPO: %7.2f BPM    BLOCKSIZE: %d samples",
                sampleRate, tempo, blockSize);
  return line;
}

void IKvHostInfoText::IdleTick()
{
  if (!synth)
    return;
  const double tempo = synth->GetTempo();
  const double rate = synth->GetSampleRate();
  const int block = synth->GetBlockSize();
  if (tempo != shownTempo)
  {
    const bool first = shownTempo < 0.0;
    shownTempo = tempo;
    shownRate = rate;
    shownBlock = block;
    SetTextFromPlug(Format(rate, tempo, block).c_str());
    if (!first)
    {
      // The tempo-synchronised settings change under the mutex, as every routing does.
      PlatformLockGuard lock(synth->Mutex());
      synth->ResyncTempo();
    }
  }
  else if (rate != shownRate || block != shownBlock)
  {
    shownRate = rate;
    shownBlock = block;
    SetTextFromPlug(Format(rate, tempo, block).c_str());
  }
}
