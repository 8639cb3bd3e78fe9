// A run that ends at a number of frames accepts exactly that many: the served program's first
// run (--serve --passes), counted from the log it wrote (one record a frame, numbered from 1).
// The headless run's --passes is checked the same way by the command-line test passes_exact.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "common/privatebus.h"

namespace qz {
namespace {

using testing::TPrivateBus;
using testing::TServedProgram;
using testing::WaitFor;

// The numbers of a log's data lines (a number, then a tab), in the order they stand.
QList<int> LogRecordNumbers(const QString& path) {
  QList<int> numbers;
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return numbers;
  for (const QByteArray& line : f.readAll().split('\n')) {
    const qsizetype tab = line.indexOf('\t');
    if (tab <= 0) continue;
    bool ok = false;
    const int no = line.left(tab).toInt(&ok);
    if (ok) numbers << no;
  }
  return numbers;
}

TEST(FrameLimit, TheServedFirstRunAcceptsExactlyItsFrames) {
  TPrivateBus bus;
  if (!bus.Start()) GTEST_SKIP() << bus.why.toStdString();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString log = dir.filePath("run.log");
  TServedProgram qz(bus, dir.filePath("profile"));
  ASSERT_TRUE(qz.Start({"--serve", "--passes", "1000", "--log", log}))
      << qz.ErrorOutput().toStdString();
  ASSERT_TRUE(WaitFor([&] {
    const QVariant running = bus.Property("Running");
    return running.isValid() && !running.toBool();
  }));
  EXPECT_EQ(bus.Property("FramesAccepted").toULongLong(), 1000u);
  // Quit ends the log; nothing was measured after the run.
  const QDBusMessage r = bus.Call("Quit", {false});
  EXPECT_NE(r.type(), QDBusMessage::ErrorMessage) << r.errorMessage().toStdString();
  ASSERT_EQ(qz.Finish(), 0) << qz.ErrorOutput().toStdString();
  const QList<int> numbers = LogRecordNumbers(log);
  ASSERT_EQ(numbers.size(), 1000);
  for (int i = 0; i < numbers.size(); ++i) ASSERT_EQ(numbers[i], i + 1) << "record " << i;
}

}  // namespace
}  // namespace qz
