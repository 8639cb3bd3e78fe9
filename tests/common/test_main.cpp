// Entry point of the logic test programs: a Qt core application (for QString, files and timers),
// the C numeric locale, and a fresh per-test profile folder when none is set.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <clocale>

int main(int argc, char** argv) {
  ::testing::InitGoogleMock(&argc, argv);
  QCoreApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  QTemporaryDir profile;
  if (qEnvironmentVariableIsEmpty("QZSIM_PROFILE"))
    qputenv("QZSIM_PROFILE", profile.path().toLocal8Bit());
  return RUN_ALL_TESTS();
}
