#include "app/ui/chartfile.h"

#include "display/disptypes.h"
#include "display/ui/chartimage.h"

namespace qz {

TChartResult SaveSweepChart(const TQvWin& qv, const QString& typeName, const QString& path,
                            uint32_t width, uint32_t height) {
  TChartRequest req;
  const TChartResult check = ChartRequestOf(typeName, width, height, path, req);
  if (!check.ok()) return check;
  return SaveSweepChart(qv, req, path);
}

TChartResult SaveSweepChart(const TQvWin& qv, const TChartRequest& req, const QString& path) {
  int32_t type = 0;
  const TChartResult check =
      CheckChartRequest(DispTypeInfo(req.type).caption, req.width, req.height, path, type);
  if (!check.ok()) return check;
  const QImage img = RenderSweepChart(qv, type, req.width, req.height, qv.BiTr.GetActive());
  if (img.isNull()) return {1, QStringLiteral("The chart could not be drawn.")};
  return WriteChartFile(TrueImageOf(reinterpret_cast<const uint32_t*>(img.constBits()), img.width(),
                                    img.height(), img.bytesPerLine() / 4),
                        path);
}

}  // namespace qz
