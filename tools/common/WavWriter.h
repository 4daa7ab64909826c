#pragma once
// A WAV file written through libsndfile from blocks of non-interleaved double channels.
// Values beyond full scale are clipped in integer formats (never wrapped); samples that
// are not finite are written as 0.
#include <cstdint>
#include <string>
#include <vector>

struct sf_private_tag;

class WavWriter
{
public:
  enum class Format
  {
    Pcm16,
    Pcm24,
    Float,
  };

  WavWriter() = default;
  ~WavWriter();
  WavWriter(const WavWriter&) = delete;
  WavWriter& operator=(const WavWriter&) = delete;

  // false with Error() set when the file cannot be created.
  bool Open(const std::string& path, int sampleRate, int channels, Format format);
  // channels[c][0 .. frames-1] for each of the file's channels.
  bool Write(const double* const* channels, int frames);
  // Finishes the header; false when anything failed on the way.
  bool Close();
  const std::string& Error() const { return error; }
  int64_t FramesWritten() const { return frames; }

private:
  sf_private_tag* file = nullptr;
  int channels = 0;
  int64_t frames = 0;
  bool failed = false;
  std::string error;
  std::vector<double> interleaved;
};
