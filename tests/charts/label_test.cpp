#include <gtest/gtest.h>

#include "charts/labelplace.h"
#include "charts/labelstyle.h"
#include "util/inifile.h"

namespace qz {
namespace {

TEST(LabelPlaceTest, ClampsKeepLabelsAndPanelsInside) {
  struct Case {
    TPt at;
    int32_t w, h, cw, ch;
    TPt label, panel;
  };
  const Case cases[] = {
      {{50, 40}, 20, 10, 200, 100, {50, 40}, {50, 40}},
      {{500, 40}, 20, 10, 200, 100, {178, 40}, {178, 40}},  // right edge 2 pixels inside
      {{-30, -5}, 20, 10, 200, 100, {1, 1}, {1, 1}},
      {{50, 95}, 20, 10, 200, 100, {50, 89}, {50, 88}},
      {{50, 50}, 300, 150, 200, 100, {1, 1}, {1, 1}},  // too big: the lower bound wins
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClampLabel(c.at, c.w, c.h, c.cw, c.ch), c.label) << c.at.x << "," << c.at.y;
    EXPECT_EQ(ClampPanel(c.at, c.w, c.h, c.cw, c.ch), c.panel) << c.at.x << "," << c.at.y;
  }
}

TEST(LabelPlaceTest, FractionsKeepTheLabelInPlaceWhenResized) {
  const TLabelFrac f = FractionsOf({100, 30}, 200, 100);
  EXPECT_EQ(f, (TLabelFrac{0.5, 0.3}));
  EXPECT_EQ(RearrangedPos(f, 20, 10, 400, 100), (TPt{200, 30}));
  // A clamp moves the label but leaves its fractions, so it returns when the panel grows back.
  EXPECT_EQ(RearrangedPos({0.95, 0.3}, 20, 10, 200, 100), (TPt{178, 30}));
  EXPECT_EQ(RearrangedPos({0.95, 0.3}, 20, 10, 1000, 100), (TPt{950, 30}));
  EXPECT_EQ(FractionsOf({10, 10}, 0, 0), (TLabelFrac{0.0, 0.0}));
}

TEST(LabelPlaceTest, CaptionHangsFromItsAnchor) {
  EXPECT_EQ(CaptTopLeft({200, 20}, capTop, 60, 13), (TPt{170, 7}));
  EXPECT_EQ(CaptTopLeft({200, 20}, capBott, 60, 13), (TPt{170, 20}));
}

TEST(LabelStyleTest, WholeStyleRoundTripsThroughTheSetup) {
  TLabelStyle s;
  s.Caption = "Peak 2.45 GHz";
  s.Visible = false;
  s.Transparent = false;
  s.Color = 0x123456;
  s.Font = TFontRec{"Serif", 12, clGreen, true, false, true};
  IniFile ini;
  WriteLabelStyle(ini, "Disp", "Capt", s, true);
  TLabelStyle back;
  ReadLabelStyle(ini, "Disp", "Capt", back, true);
  EXPECT_EQ(back, s);

  // Without the text the caption and visibility are neither written nor read.
  IniFile noText;
  WriteLabelStyle(noText, "Disp", "Capt", s, false);
  EXPECT_FALSE(noText.ValueExists("Disp", "CaptLCaption"));
  TLabelStyle kept;
  kept.Caption = "old";
  ReadLabelStyle(noText, "Disp", "Capt", kept, false);
  EXPECT_EQ(kept.Caption, "old");
  EXPECT_EQ(kept.Font, s.Font);
}

TEST(LabelStyleTest, StoredValuesAreLimitedAndDefaulted) {
  struct Case {
    const char* size;
    int32_t read;
  };
  const Case cases[] = {{"40", 24}, {"4", 8}, {"12", 12}, {"x", 10}};
  for (const Case& c : cases) {
    IniFile ini;
    ini.WriteString("S", "PLFSize", c.size);
    ini.WriteString("S", "PLFBold", "1");
    TLabelStyle s;
    s.Caption = "keep?";
    s.Visible = false;
    s.Font.Size = 10;
    s.Font.Italic = true;  // absent keys read as off
    ReadLabelStyle(ini, "S", "P", s, true);
    EXPECT_EQ(s.Font.Size, c.read) << c.size;
    EXPECT_TRUE(s.Font.Bold);
    EXPECT_FALSE(s.Font.Italic);
    EXPECT_EQ(s.Caption, "");  // the caption's default is empty
    EXPECT_FALSE(s.Visible);   // visibility defaults to the present one
  }
}

TEST(LabelStyleTest, CopyTakesTheLookAndOnRequestTheText) {
  TLabelStyle from;
  from.Caption = "A";
  from.Visible = false;
  from.Transparent = false;
  from.Color = clAqua;
  from.Font.Size = 14;
  TLabelStyle to;
  to.Caption = "B";
  CopyLabelStyle(from, to, false);
  EXPECT_EQ(to.Caption, "B");
  EXPECT_TRUE(to.Visible);
  EXPECT_EQ(to.Color, clAqua);
  EXPECT_EQ(to.Font.Size, 14);
  CopyLabelStyle(from, to, true);
  EXPECT_EQ(to, from);
}

}  // namespace
}  // namespace qz
