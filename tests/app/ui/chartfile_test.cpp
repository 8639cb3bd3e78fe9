#include "app/ui/chartfile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "common/testframes.h"

namespace qz {
namespace {

// The control interface's entry: a type by name, a size and a file; the answer's code tells
// what went wrong and nothing is written then.
TEST(SaveSweepChart, WritesTheChartOrRefusesWithTheExitCodes) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  TMotState mot;
  TQvWin qv(mot);
  for (int i = 0; i < 10; ++i)
    qv.LastSwp.Add(testing::EncodedFrame(testing::MeasSpec(100.0 * i, complex(0.1, 0.05 * i))));
  struct Case {
    const char* type;
    const char* file;
    uint32_t w, h;
    int code;
    QSize size;  // of the picture written (0 x 0: none)
  } cases[] = {
      {"z-smith", "z.png", 640, 480, 0, QSize(640, 480)},
      {"Power", "p.bmp", 0, 0, 0, QSize(800, 600)},
      {"logmag", "l.jpg", 200, 0, 0, QSize(200, 600)},  // a side of 0 takes its default
      {"vswr", "v.gif", 100, 90, 0, QSize(100, 90)},
      {"smith", "s.png", 640, 480, 2, QSize(0, 0)},
      {"mag", "m.tif", 640, 480, 2, QSize(0, 0)},
      {"mag", "m.png", 20000, 480, 2, QSize(0, 0)},
      {"mag", "missing/m.png", 640, 480, 1, QSize(0, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const QString path = dir.filePath(QString::fromUtf8(c.file));
    const TChartResult r = SaveSweepChart(qv, QString::fromUtf8(c.type), path, c.w, c.h);
    EXPECT_EQ(r.code, c.code) << r.error.toStdString();
    EXPECT_EQ(r.error.isEmpty(), c.code == 0);
    EXPECT_EQ(QImage(path).size(), c.size);
    if (c.code != 0) {
      EXPECT_FALSE(QFile::exists(path));
    }
  }
}

}  // namespace
}  // namespace qz
