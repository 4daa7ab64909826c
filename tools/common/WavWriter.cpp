#include "tools/common/WavWriter.h"

#include <sndfile.h>

#include <cmath>

WavWriter::~WavWriter() { Close(); }

bool WavWriter::Open(const std::string& path, int sampleRate, int channels, Format format)
{
  Close();
  mError.clear();
  mFailed = false;
  mFrames = 0;
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = channels;
  info.format = SF_FORMAT_WAV | (format == Format::Float   ? SF_FORMAT_FLOAT
                                 : format == Format::Pcm16 ? SF_FORMAT_PCM_16
                                                           : SF_FORMAT_PCM_24);
  if (channels <= 0 || sampleRate <= 0 || !sf_format_check(&info))
  {
    mError = "unsupported WAV layout";
    return false;
  }
  mFile = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!mFile)
  {
    mError = sf_strerror(nullptr);
    return false;
  }
  // Doubles are full scale at 1.0; beyond it integer samples clip instead of wrapping.
  sf_command(mFile, SFC_SET_NORM_DOUBLE, nullptr, SF_TRUE);
  sf_command(mFile, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  mChannels = channels;
  return true;
}

bool WavWriter::Write(const double* const* channels, int frames)
{
  if (!mFile || frames < 0)
    return false;
  mInterleaved.resize(size_t(frames) * size_t(mChannels));
  for (int f = 0; f < frames; ++f)
    for (int c = 0; c < mChannels; ++c)
    {
      const double v = channels[c][f];
      mInterleaved[size_t(f) * size_t(mChannels) + size_t(c)] = std::isfinite(v) ? v : 0.0;
    }
  const sf_count_t written = sf_writef_double(mFile, mInterleaved.data(), frames);
  mFrames += written;
  if (written != frames)
  {
    mFailed = true;
    mError = sf_strerror(mFile);
    return false;
  }
  return true;
}

bool WavWriter::Close()
{
  if (mFile)
  {
    if (sf_close(mFile) != 0 && !mFailed)
    {
      mFailed = true;
      mError = "cannot finish the file";
    }
    mFile = nullptr;
  }
  return !mFailed;
}
