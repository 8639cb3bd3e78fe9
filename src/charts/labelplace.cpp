#include "charts/labelplace.h"

#include <cmath>

#include "util/numutil.h"

namespace qz {

TPt ClampLabel(TPt at, int32_t w, int32_t h, int32_t cw, int32_t ch) {
  return TPt{ClampLowWins(at.x, 1, cw - w - 2), ClampLowWins(at.y, 1, ch - h - 1)};
}

TPt ClampPanel(TPt at, int32_t w, int32_t h, int32_t cw, int32_t ch) {
  return TPt{ClampLowWins(at.x, 1, cw - w - 2), ClampLowWins(at.y, 1, ch - h - 2)};
}

TLabelFrac FractionsOf(TPt pos, int32_t cw, int32_t ch) {
  return TLabelFrac{cw > 0 ? double(pos.x) / cw : 0.0, ch > 0 ? double(pos.y) / ch : 0.0};
}

TPt RearrangedPos(const TLabelFrac& f, int32_t w, int32_t h, int32_t cw, int32_t ch) {
  const double fx = std::isfinite(f.x) ? f.x : 0.0;
  const double fy = std::isfinite(f.y) ? f.y : 0.0;
  return ClampLabel(TPt{RoundToInt32(fx * cw), RoundToInt32(fy * ch)}, w, h, cw, ch);
}

TPt CaptTopLeft(TPt anchor, TCaptUpDn upDn, int32_t w, int32_t h) {
  return TPt{anchor.x - w / 2, upDn == capTop ? anchor.y - h : anchor.y};
}

}  // namespace qz
