#pragma once
// The host information line: "HOST SAMPLE RATE: ... Hz    TEMPO: ... BPM    BLOCKSIZE: ...
// samples", rebuilt at an idle tick when the host's sample rate, tempo or block size
// differs from the one shown; a new tempo also brings the instrument's tempo-synchronised
// settings up to date.
//
// Editor timer, user-interface thread.
#include "editor/controls/ITextControl.h"

class Thumpgeist;

class IKvHostInfoText : public ITextControl
{
public:
  IKvHostInfoText(Thumpgeist* owner, const IRect& area, const IText& style);

  void IdleTick() override;
  static std::string Format(double sampleRate, double tempo, int blockSize);

private:
  Thumpgeist* synth;
  double shownRate = -1.0;
  double shownTempo = -1.0;
  int shownBlock = -1;
};
