// Entry point of the window test programs: offscreen platform, never a real display.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <clocale>

int main(int argc, char** argv) {
  ::testing::InitGoogleMock(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  QTemporaryDir profile;
  if (qEnvironmentVariableIsEmpty("QZSIM_PROFILE"))
    qputenv("QZSIM_PROFILE", profile.path().toLocal8Bit());
  return RUN_ALL_TESTS();
}
