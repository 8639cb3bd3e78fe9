#include "util/winpos.h"

#include <cstdint>

#include "util/inifile.h"
#include "util/numutil.h"

namespace qz {

namespace {

int Limit(int v, int lo, int64_t hi) { return int(ClampLowWins(int64_t(v), int64_t(lo), hi)); }

}  // namespace

WindowPos LimitWindowPos(const WindowPos& pos, int screenWidth, int screenHeight, int margin,
                         const std::optional<WindowSizeLimits>& sizeLimits) {
  WindowPos r = pos;
  const int64_t maxX = int64_t(screenWidth) - margin;
  const int64_t maxY = int64_t(screenHeight) - margin;
  r.left = Limit(pos.left, 0, maxX);
  r.top = Limit(pos.top, 0, maxY);
  if (sizeLimits) {
    r.width = Limit(pos.width, sizeLimits->minWidth, maxX);
    r.height = Limit(pos.height, sizeLimits->minHeight, maxY);
  }
  return r;
}

WindowPos ReadWindowPos(const IniFile& ini, const QString& section, const WindowPos& current,
                        int screenWidth, int screenHeight, int margin,
                        const std::optional<WindowSizeLimits>& sizeLimits) {
  WindowPos p = current;
  p.top = ini.ReadInteger(section, QStringLiteral("Top"), current.top);
  p.left = ini.ReadInteger(section, QStringLiteral("Left"), current.left);
  if (sizeLimits) {
    p.width = ini.ReadInteger(section, QStringLiteral("Width"), current.width);
    p.height = ini.ReadInteger(section, QStringLiteral("Height"), current.height);
  }
  return LimitWindowPos(p, screenWidth, screenHeight, margin, sizeLimits);
}

}  // namespace qz
