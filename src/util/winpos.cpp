#include "util/winpos.h"

#include <algorithm>
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

TWindowPlace PlaceOfClient(const WindowPos& client, const TFrameMargins& m, bool visible) {
  return TWindowPlace{client.left - m.left, client.top - m.top, client.width, client.height,
                      visible};
}

WindowPos ClientOfPlace(const TWindowPlace& p, const TFrameMargins& m) {
  return WindowPos{p.left + m.left, p.top + m.top, p.width, p.height};
}

void WritePlace(IniFile& ini, const QString& section, const TWindowPlace& p,
                const TPlaceRule& rule) {
  if (rule.keys & pkVisible) ini.WriteBool(section, QStringLiteral("Visible"), p.visible);
  if (rule.keys & pkTop) ini.WriteInteger(section, QStringLiteral("Top"), p.top);
  if (rule.keys & pkLeft) ini.WriteInteger(section, QStringLiteral("Left"), p.left);
  if (rule.keys & pkWidth) ini.WriteInteger(section, QStringLiteral("Width"), p.width);
  if (rule.keys & pkHeight) ini.WriteInteger(section, QStringLiteral("Height"), p.height);
}

TWindowPlace ReadPlace(const IniFile& ini, const QString& section, const TWindowPlace& current,
                       const TPlaceRule& rule, int screenWidth, int screenHeight) {
  TWindowPlace p = current;
  if (!rule.onScreen) {
    auto rd = [&](TPlaceKey k, const char* key, int& field) {
      if (rule.keys & k) field = ini.ReadInteger(section, QString::fromLatin1(key), field);
    };
    rd(pkTop, "Top", p.top);
    rd(pkLeft, "Left", p.left);
    rd(pkWidth, "Width", p.width);
    rd(pkHeight, "Height", p.height);
  } else if (rule.keys & (pkTop | pkLeft)) {
    const WindowPos pos = ReadWindowPos(ini, section, WindowPos{current.left, current.top, 0, 0},
                                        screenWidth, screenHeight, rule.posMargin);
    if (rule.keys & pkTop) p.top = pos.top;
    if (rule.keys & pkLeft) p.left = pos.left;
  }
  if (rule.onScreen && (rule.keys & pkWidth))
    p.width = Limit(ini.ReadInteger(section, QStringLiteral("Width"), current.width), rule.minWidth,
                    int64_t(screenWidth) - rule.sizeMargin);
  if (rule.onScreen && (rule.keys & pkHeight))
    p.height = Limit(ini.ReadInteger(section, QStringLiteral("Height"), current.height),
                     rule.minHeight, int64_t(screenHeight) - rule.sizeMargin);
  if (rule.keys & pkVisible)
    p.visible = ini.ReadBool(section, QStringLiteral("Visible"), current.visible);
  return p;
}

bool HasStoredPosition(const IniFile& ini, const QString& section) {
  return ini.ValueExists(section, QStringLiteral("Top")) ||
         ini.ValueExists(section, QStringLiteral("Left"));
}

WindowPos DefaultToolPosition(int n, const WindowPos& anchor, const WindowPos& area, int step) {
  const int64_t room = std::min(int64_t(area.left) + area.width - anchor.left,
                                int64_t(area.top) + area.height - anchor.top);
  // Steps that fit before the cascade would leave the area (at least one position).
  const int64_t fit = std::max<int64_t>(1, step > 0 ? room / (2 * int64_t(step)) : 1);
  const int64_t k = n < 0 ? 0 : int64_t(n) % fit;
  return WindowPos{int(anchor.left + k * step), int(anchor.top + k * step), 0, 0};
}

WindowPos FitIntoArea(const WindowPos& frame, const WindowPos& area) {
  WindowPos r = frame;
  r.width = Limit(frame.width, 0, area.width);
  r.height = Limit(frame.height, 0, area.height);
  r.left = Limit(frame.left, area.left, int64_t(area.left) + area.width - r.width);
  r.top = Limit(frame.top, area.top, int64_t(area.top) + area.height - r.height);
  return r;
}

WindowPos BesidePosition(const WindowPos& asking, int width, int height, const WindowPos& area) {
  const int64_t areaRight = int64_t(area.left) + area.width;
  const int64_t areaBottom = int64_t(area.top) + area.height;
  int64_t x = int64_t(asking.left) + asking.width;
  if (x + width > areaRight) x = int64_t(asking.left) - width;
  if (x < area.left) x = areaRight - width;
  if (x < area.left) x = area.left;
  int64_t y = asking.top;
  if (y + height > areaBottom) y = areaBottom - height;
  if (y < area.top) y = area.top;
  return WindowPos{int(x), int(y), width, height};
}

}  // namespace qz
