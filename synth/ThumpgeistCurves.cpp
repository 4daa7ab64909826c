// The instrument's side of the editor's curve views: attaching them, applying what was
// drawn in the curve editor, and the curve files of the curve menu.
#include "synth/Thumpgeist.h"

#include "plugin/IEditor.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace
{
// A curve text is 512 numbers of a dozen characters; a file far beyond that is no
// curve file, and is refused rather than read into memory.
constexpr std::streamoff kLargestCurveFile = 1 << 20;
} // namespace

// --- Main thread (the editor's construction and timer) -------------------------------

void Thumpgeist::AttachEditor(IEditor* editor)
{
  // The views of an editor being replaced go with it.
  SetCurveViews(nullptr);
  IPlugVST::AttachEditor(editor);
  SetCurveViews(dynamic_cast<ICurveViews*>(editor));
}

void Thumpgeist::SetCurveViews(ICurveViews* views)
{
  PlatformLockGuard lock(Mutex());
  displays.SetViews(views);
}

void Thumpgeist::ApplyDrawnCurve()
{
  PlatformLockGuard lock(Mutex());
  displays.ApplyDrawnCurve();
}

bool Thumpgeist::IsCurveFilePath(const char* path)
{
  return path && (std::strstr(path, ".csv") || std::strstr(path, ".CSV"));
}

bool Thumpgeist::ImportCurveFile(const char* path)
{
  if (!IsCurveFilePath(path))
    return false;
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in)
    return false;
  const std::streamoff size = in.tellg();
  if (size < 0 || size > kLargestCurveFile)
    return false;
  in.seekg(0);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad())
    return false;
  PlatformLockGuard lock(Mutex());
  if (!master.ImportCurveText(text))
    return false;
  displays.RefreshCurveViews();
  return true;
}

bool Thumpgeist::ExportCurveFile(const char* path)
{
  if (!IsCurveFilePath(path))
    return false;
  std::string text;
  {
    PlatformLockGuard lock(Mutex());
    text = master.ExportCurveText();
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  return bool(out);
}
