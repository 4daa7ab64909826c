#pragma once
// What the editor's oscilloscope shows: a ring of 980 records of the output, the
// oscillator LFOs and the envelope buses, written by the block and read by the
// editor's drawing code.
#include <cstdint>
#include <vector>

struct ScopeRecord
{
  double unused0 = 0.0;
  double unused1 = 0.0;
  double left = 0.0;
  double right = 0.0;
  double lfo[3] = {0.0, 0.0, 0.0};
  double env = 0.0;
  double filterEnv = 0.0;
  // 0 for a written record, 1 for a cleared one.
  uint64_t emptyMarker = 0;

  static ScopeRecord Cleared()
  {
    ScopeRecord r;
    r.emptyMarker = 1;
    return r;
  }
};
static_assert(sizeof(ScopeRecord) == 10 * sizeof(double));

class Scope
{
public:
  static constexpr int kRecords = 980;
  static constexpr int kInitialRecords = 512;
  static constexpr int kClearedOnRelease = 20;
  static constexpr double kMinZoom = 0.1;
  static constexpr double kMaxZoom = 4.0;

  Scope() : ring(kInitialRecords) {}

  // From Reset: 980 all-zero records and the write counter at 0, unless frozen.
  void Rebuild();
  // The block's feed: one record every samplesPerPoint samples.
  void Feed(const double* left, const double* right, const double* lfoDisplay, int lfoStride,
            const double* envBus, const double* filterEnvBus, int frames, double sampleRate);

  // Zooming in shortens the time the ring covers; the text shows the percent.
  void ZoomStep(bool zoomIn, double step);
  // Releasing the freeze clears the 20 records after the write position.
  void Freeze(bool on);
  // Entering the scope page clears every record.
  void ClearAll();

  int SamplesPerPoint(double sampleRate) const;
  const std::vector<ScopeRecord>& Ring() const { return ring; }
  uint16_t WriteCounter() const { return writeCounter; }
  int WritePosition() const { return writeCounter % kRecords; }
  double Zoom() const { return zoom; }
  int ZoomPercent() const { return zoomPercent; }
  bool Frozen() const { return frozen; }

private:
  std::vector<ScopeRecord> ring;
  uint16_t writeCounter = 0;
  int32_t sampleCounter = 0;
  double zoom = 1.0;
  int zoomPercent = 100;
  bool frozen = false;
};
