#pragma once

namespace Korvane
{

// Base of every processing unit of the instrument: the master effects and the
// voice-side units. A unit knows the sample rate and can be switched off with a
// short click-free fade. Block routines are ordinary members of the concrete units
// (the master chain calls each unit by its concrete type); they follow this pattern:
//
//     if (isFadedOut()) return;                 // switched off and fully faded
//     for (each sample) {
//         ... out = (1 - wet) * dry + wet * processed ...
//         advanceFade();
//     }
class AudioProcessingUnit
{
public:
  // Step by which the fade moves per processed sample: a full fade takes 200 samples.
  static constexpr double kFadeStep = 0.005;
  // Size of the fixed work buffers of the units that filter a copy of the block.
  static constexpr int kWorkBufferSize = 1024;

  AudioProcessingUnit() = default;
  virtual ~AudioProcessingUnit();

  // Called on every sample-rate change and on reset; units extend it.
  virtual void setSampleRate(double rate);

  // Switches the unit off (true) or on (false). Switching off fades the processed
  // share from 0.995 down to 0; switching on fades it from 0.005 up to 1 (also when
  // a fade-out is still running). Repeating the current setting changes nothing, so
  // a host or a program load sending the same switch value again does not restart
  // a fade.
  virtual void setBypass(bool off);

  double getSampleRate() const { return sampleRate; }
  bool isBypassed() const { return bypassed; }
  double getWet() const { return wet; }
  double getWetStep() const { return wetStep; }

  // True when the unit is switched off and its fade has reached 0: the block
  // routine then leaves the block untouched.
  bool isFadedOut() const { return wet == 0.0 && bypassed; }

  // Moves the fade one step while it runs (0 < wet < 1), clamped to 0..1.
  void advanceFade()
  {
    if (wet > 0.0 && wet < 1.0)
    {
      wet += wetStep;
      if (wet < 0.0)
        wet = 0.0;
      else if (wet > 1.0)
        wet = 1.0;
    }
  }

protected:
  // Runs a block of any length through piece(left, right, n) in pieces of at most
  // kWorkBufferSize samples, as consecutive blocks of that size would run: a unit with
  // fixed work buffers never passes a longer block through untouched, and stops once
  // switched off and faded out. Called from the audio thread; never allocates.
  template <typename Piece>
  void processInPieces(double* left, double* right, int count, Piece piece)
  {
    if (left == nullptr || right == nullptr)
      return;
    for (int done = 0; done < count; done += kWorkBufferSize)
    {
      if (isFadedOut())
        return;
      const int n = count - done < kWorkBufferSize ? count - done : kWorkBufferSize;
      piece(left + done, right + done, n);
    }
  }

  // Called from the audio thread inside a block routine; never allocates.
  //
  // The processed pair blended into (left, right) by the fade, sample by sample:
  // out = (1 - wet) * out + wet * processed, then advanceFade(). While no fade runs the
  // share is the same for every sample, and the frames go two at a time.
  void blendByFade(double* left, double* right, const double* processedLeft,
                   const double* processedRight, int frames);

  double sampleRate = 44100.0;
  bool bypassed = false;
  double wet = 1.0;     // processed share of the output, 0..1
  double wetStep = 0.0; // set by setBypass; added per sample while fading
};

} // namespace Korvane
