// Export of the area borders: the whole text, the stub information, the choice of a free name
// and what a failed write reports.
#include "display/rhoexport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/testfiles.h"
#include "core/records.h"

namespace qz {
namespace {

using testing::ReadAll;
using testing::WriteAll;

TTunerDescr Descr(uint16_t maxSteps, double mmPerStep) {
  TTunerDescr d;
  d.MaxSteps = maxSteps;
  d.MmPerStep = mmPerStep;
  return d;
}

// Point i of the first border: (300 i - 15000, 7 i^2 mod 60001 - 30000); of the second:
// (29999 - 599 i, -17 i).
TRhoArea KnownArea() {
  TRhoArea a{};
  for (int i = 0; i < kRhoAreaPts; ++i) {
    a[size_t(i)] = TRhoPt{300 * i - 15000, (i * i * 7) % 60001 - 30000};
    a[size_t(kRhoAreaPts + i)] = TRhoPt{29999 - 599 * i, -17 * i};
  }
  return a;
}

TEST(RhoExport, StubInfo) {
  struct Case {
    uint16_t maxSteps;
    double mm;
    int32_t divisions;
    TStubInfo want;
  } cases[] = {
      {3000, 0.01, 25, {125, 1.25}},
      {5000, 0.01, 25, {208, 2.08}},  // 208.33
      {100, 0.02, 9, {12, 0.24}},     // 12.5 rounds to the even 12
      {100, 0.02, 5, {25, 0.5}},
      {0, 0.01, 25, {0, 0.0}},
      // No division of the travel: the whole travel, never a division by zero.
      {3000, 0.01, 1, {3000, 30.0}},
      {3000, 0.01, 0, {3000, 30.0}},
      {3000, 0.01, -4, {3000, 30.0}},
  };
  for (const Case& c : cases) {
    const TStubInfo s = GetStubInfo(Descr(c.maxSteps, c.mm), c.divisions);
    EXPECT_EQ(s.steps, c.want.steps) << c.maxSteps << "/" << c.divisions;
    EXPECT_NEAR(s.mm, c.want.mm, 1e-12) << c.maxSteps << "/" << c.divisions;
  }
}

TEST(RhoExport, WholeTextOfAKnownArea) {
  const QString text = AreaExportText(
      KnownArea(), kAreaMatchable, kAreaStub3, QStringLiteral("2.45 GHz"),
      QStringLiteral("\r\nProgram QzSim 9.9\r\nUnit QZTU V1.8/0"), Descr(3000, 0.01));
  const QByteArray want = ReadAll(QStringLiteral(QZ_TEST_DATA_DIR "/area_export_golden.txt"));
  ASSERT_FALSE(want.isEmpty());
  EXPECT_EQ(text.toUtf8(), want);
}

TEST(RhoExport, CaptionsOfKindsAndPlanes) {
  const QString t = AreaExportText(TRhoArea{}, kAreaRealizable, kAreaTransform,
                                   QStringLiteral("915 MHz"), QString(), Descr(10, 1.0));
  EXPECT_TRUE(
      t.startsWith(QStringLiteral("Area=Realizable Referred to=Transform Freq=915 MHz\r\n"
                                  "\r\nStub: MaxSteps=10 MmPerStep=1.000")))
      << t.left(120).toStdString();
}

class RhoExportFiles : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString At(int i) const { return QDir(dir.path()).filePath(AreaFileName(i)); }
  QTemporaryDir dir;
};

TEST_F(RhoExportFiles, FirstFreeNameIsWritten) {
  EXPECT_EQ(AreaFileName(0), "Area_000.txt");
  EXPECT_EQ(AreaFileName(99), "Area_099.txt");
  WriteAll(At(0), "old 0");
  WriteAll(At(1), "old 1");
  const TAreaExportResult r = ExportAreaText(dir.path(), QStringLiteral("new\r\n"));
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.path, At(2));
  EXPECT_EQ(r.message, QStringLiteral("Saved to\r\n") + At(2));
  EXPECT_EQ(ReadAll(At(2)), "new\r\n");
  EXPECT_EQ(ReadAll(At(0)), "old 0");
  EXPECT_EQ(ReadAll(At(1)), "old 1");
  // A gap is filled first.
  QFile::remove(At(0));
  EXPECT_EQ(ExportAreaText(dir.path(), QStringLiteral("again")).path, At(0));
}

TEST_F(RhoExportFiles, AllNamesTakenIsAWriteError) {
  for (int i = 0; i < kAreaFileCount; ++i) WriteAll(At(i), "kept");
  const TAreaExportResult r = ExportAreaText(dir.path(), QStringLiteral("new"));
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, QStringLiteral("File write error\r\n") + At(99));
  EXPECT_EQ(ReadAll(At(99)), "kept");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), kAreaFileCount);
}

TEST_F(RhoExportFiles, FailedWritesReportAndLeaveNothing) {
  const QString text = AreaExportText(KnownArea(), kAreaMatchable, kAreaOutput,
                                      QStringLiteral("2.45 GHz"), QString(), Descr(3000, 0.01));
  {
    // A full disk: the export is several kilobytes.
    testing::FileSizeLimit full(512);
    ASSERT_TRUE(full.ok());
    const TAreaExportResult r = ExportAreaText(dir.path(), text);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, QStringLiteral("File write error\r\n") + At(0));
  }
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
  // A folder that is gone.
  const QString gone = dir.path() + QStringLiteral("/gone");
  const TAreaExportResult r = ExportAreaText(gone, text);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.message.startsWith(QStringLiteral("File write error\r\n")));
  EXPECT_FALSE(QDir(gone).exists());
}

}  // namespace
}  // namespace qz
