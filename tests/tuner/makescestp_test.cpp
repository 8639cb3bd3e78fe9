// The scenario generator's setup section: the keys in their order and written form, a whole
// record read back, and the trajectory's reading rule.
#include "tuner/makescestp.h"

#include <gtest/gtest.h>

#include "util/inifile.h"

namespace qz {
namespace {

TMakeSceStp Sample() {
  TMakeSceStp r;
  r.pos = {12, 34, 700, 480};
  r.circ = true;
  r.ed = {"100", "650", "50", "0", "270", "15", "500 ms"};
  r.clockwise = true;
  r.addMatch = true;
  r.shuttle = true;
  return r;
}

TEST(MakeSceStp, WrittenAsBeforeAndReadBack) {
  IniFile ini;
  Sample().WriteStp(ini, QStringLiteral("MakeSce"));
  EXPECT_EQ(ini.Text(),
            QByteArray("[MakeSce]\r\nTop=34\r\nLeft=12\r\nWidth=700\r\nHeight=480\r\n"
                       "rgTrajectory=1\r\nedRstart=100\r\nedRstop=650\r\nedRstep=50\r\n"
                       "edStartAngle=0\r\nedStopAngle=270\r\nedRot=15\r\nedDwell=500 ms\r\n"
                       "cbClockwise=1\r\ncbSegment=0\r\ncbAddMatch=1\r\ncbSkipMatches=0\r\n"
                       "cbShuttle=1\r\n"));
  TMakeSceStp back;
  back.ReadStp(ini, QStringLiteral("makesce"));
  EXPECT_EQ(back, Sample());
}

TEST(MakeSceStp, MissingKeysKeepThePresentValuesAndOnlyOneMeansCircles) {
  const struct {
    const char* text;
    bool circ;
    int top;
  } cases[] = {
      {"[MakeSce]\r\n", true, 34},
      {"[MakeSce]\r\nrgTrajectory=2\r\nTop=-5\r\n", false, -5},
      {"[MakeSce]\r\nrgTrajectory=x\r\nTop=y\r\n", true, 34},
      {"[MakeSce]\r\nrgTrajectory=0\r\n", false, 34},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    IniFile ini;
    ini.SetText(c.text);
    TMakeSceStp r = Sample();
    r.ReadStp(ini, QStringLiteral("MakeSce"));
    EXPECT_EQ(r.circ, c.circ);
    EXPECT_EQ(r.pos.top, c.top);
    EXPECT_EQ(r.ed, Sample().ed);
  }
}

}  // namespace
}  // namespace qz
