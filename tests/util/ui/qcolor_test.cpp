// The one conversion of the program's colours into the window layer's.
#include "util/ui/qcolor.h"

#include <gtest/gtest.h>

#include <QApplication>

namespace qz {
namespace {

TEST(ToQColor, PlainColoursAreBlueGreenRed) {
  struct Case {
    TColor c;
    QColor expected;
  };
  const Case cases[] = {
      {clRed, QColor(255, 0, 0)},
      {clBlue, QColor(0, 0, 255)},
      {clLime, QColor(0, 255, 0)},
      {10744749, QColor(0xAD, 0xF3, 0xA3)},  // the frame window's colour at creation
      {0x00010203, QColor(3, 2, 1)},
  };
  for (const Case& c : cases) EXPECT_EQ(ToQColor(c.c), c.expected) << c.c;
}

TEST(ToQColor, SystemColoursComeFromThePalette) {
  // A palette where every role has a colour of its own.
  QPalette pal;
  pal.setColor(QPalette::Window, QColor(1, 1, 1));
  pal.setColor(QPalette::Base, QColor(5, 5, 5));
  pal.setColor(QPalette::WindowText, QColor(8, 8, 8));
  pal.setColor(QPalette::Dark, QColor(12, 12, 12));
  pal.setColor(QPalette::Button, QColor(15, 15, 15));
  struct Case {
    TColor c;
    QColor expected;
  };
  const Case cases[] = {
      {clWindow, QColor(5, 5, 5)},
      {clWindowText, QColor(8, 8, 8)},
      {clAppWorkSpace, QColor(12, 12, 12)},
      // The value a setup holds for the application workspace, read as a signed integer.
      {TColor(int32_t(-16777204)), QColor(12, 12, 12)},
      {clBtnFace, QColor(15, 15, 15)},
      {0xFF000001, QColor(1, 1, 1)},  // any other system colour: the window colour
      {0xFF0000FF, QColor(1, 1, 1)},
  };
  for (const Case& c : cases) EXPECT_EQ(ToQColor(c.c, pal), c.expected) << std::hex << c.c;
  // Without a palette given, the application's.
  EXPECT_EQ(ToQColor(clAppWorkSpace), QApplication::palette().color(QPalette::Dark));
}

}  // namespace
}  // namespace qz
