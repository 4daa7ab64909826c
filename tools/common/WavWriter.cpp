#include "tools/common/WavWriter.h"

#include <sndfile.h>

#include <cmath>

WavWriter::~WavWriter() { Close(); }

bool WavWriter::Open(const std::string& path, int sampleRate, int channelCount, Format format)
{
  Close();
  error.clear();
  failed = false;
  frames = 0;
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = channelCount;
  info.format = SF_FORMAT_WAV | (format == Format::Float   ? SF_FORMAT_FLOAT
                                 : format == Format::Pcm16 ? SF_FORMAT_PCM_16
                                                           : SF_FORMAT_PCM_24);
  if (channelCount <= 0 || sampleRate <= 0 || !sf_format_check(&info))
  {
    error = "unsupported WAV layout";
    return false;
  }
  file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file)
  {
    error = sf_strerror(nullptr);
    return false;
  }
  // Doubles are full scale at 1.0; beyond it integer samples clip instead of wrapping.
  sf_command(file, SFC_SET_NORM_DOUBLE, nullptr, SF_TRUE);
  sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  channels = channelCount;
  return true;
}

bool WavWriter::Write(const double* const* channelCount, int frameCount)
{
  if (!file || frameCount < 0)
    return false;
  interleaved.resize(size_t(frameCount) * size_t(channels));
  for (int f = 0; f < frameCount; ++f)
    for (int c = 0; c < channels; ++c)
    {
      const double v = channelCount[c][f];
      interleaved[size_t(f) * size_t(channels) + size_t(c)] = std::isfinite(v) ? v : 0.0;
    }
  const sf_count_t written = sf_writef_double(file, interleaved.data(), frameCount);
  frames += written;
  if (written != frameCount)
  {
    failed = true;
    error = sf_strerror(file);
    return false;
  }
  return true;
}

bool WavWriter::Close()
{
  if (file)
  {
    if (sf_close(file) != 0 && !failed)
    {
      failed = true;
      error = "cannot finish the file";
    }
    file = nullptr;
  }
  return !failed;
}
