#include "charts/labelstyle.h"

#include "util/inifile.h"
#include "util/numutil.h"
#include "util/stpkeys.h"

namespace qz {

int32_t LabelFontSizeFromKey(int32_t stored) { return ClampLowWins(stored, 8, 24); }

const TStpKeys<TLabelStyle>& LabelTextKeys() {
  static const TStpKeys<TLabelStyle> keys = TStpKeys<TLabelStyle>()
                                                .Text("LCaption", &TLabelStyle::Caption, QString())
                                                .Bool("LVisible", &TLabelStyle::Visible);
  return keys;
}

const TStpKeys<TLabelStyle>& LabelLookKeys() {
  using L = TLabelStyle;
  static const TStpKeys<L> keys =
      TStpKeys<L>()
          .Bool("LTransp", &L::Transparent)
          .Colour("LColor", &L::Color, std::nullopt, TColourRead::SignedOnly)
          .Text("LFont", [](L& l) -> QString& { return l.Font.Name; })
          .Colour(
              "LFColor", [](L& l) -> TColor& { return l.Font.Color; }, std::nullopt,
              TColourRead::SignedOnly)
          .IntRule(
              "LFSize", [](L& l) -> int32_t& { return l.Font.Size; }, LabelFontSizeFromKey)
          .Bool(
              "LFBold", [](L& l) -> bool& { return l.Font.Bold; }, false)
          .Bool(
              "LFItalic", [](L& l) -> bool& { return l.Font.Italic; }, false)
          .Bool(
              "LFUnderl", [](L& l) -> bool& { return l.Font.Underline; }, false);
  return keys;
}

void WriteLabelStyle(IniFile& ini, const QString& section, const QString& prefix,
                     const TLabelStyle& style, bool withText) {
  if (withText) LabelTextKeys().Write(style, ini, section, prefix);
  LabelLookKeys().Write(style, ini, section, prefix);
}

void ReadLabelStyle(const IniFile& ini, const QString& section, const QString& prefix,
                    TLabelStyle& style, bool withText) {
  if (withText) LabelTextKeys().Read(style, ini, section, prefix);
  LabelLookKeys().Read(style, ini, section, prefix);
}

void CopyLabelStyle(const TLabelStyle& from, TLabelStyle& to, bool withText) {
  to.Transparent = from.Transparent;
  to.Color = from.Color;
  to.Font = from.Font;
  if (withText) {
    to.Caption = from.Caption;
    to.Visible = from.Visible;
  }
}

}  // namespace qz
