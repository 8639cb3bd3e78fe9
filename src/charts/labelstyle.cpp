#include "charts/labelstyle.h"

#include "util/inifile.h"
#include "util/numutil.h"

namespace qz {

int32_t LabelFontSizeFromKey(int32_t stored) { return ClampLowWins(stored, 8, 24); }

void WriteLabelStyle(IniFile& ini, const QString& section, const QString& prefix,
                     const TLabelStyle& style, bool withText) {
  if (withText) {
    ini.WriteString(section, prefix + "LCaption", style.Caption);
    ini.WriteBool(section, prefix + "LVisible", style.Visible);
  }
  ini.WriteBool(section, prefix + "LTransp", style.Transparent);
  ini.WriteInteger(section, prefix + "LColor", int32_t(style.Color));
  ini.WriteString(section, prefix + "LFont", style.Font.Name);
  ini.WriteInteger(section, prefix + "LFColor", int32_t(style.Font.Color));
  ini.WriteInteger(section, prefix + "LFSize", style.Font.Size);
  ini.WriteBool(section, prefix + "LFBold", style.Font.Bold);
  ini.WriteBool(section, prefix + "LFItalic", style.Font.Italic);
  ini.WriteBool(section, prefix + "LFUnderl", style.Font.Underline);
}

void ReadLabelStyle(const IniFile& ini, const QString& section, const QString& prefix,
                    TLabelStyle& style, bool withText) {
  if (withText) {
    style.Caption = ini.ReadString(section, prefix + "LCaption", QString());
    style.Visible = ini.ReadBool(section, prefix + "LVisible", style.Visible);
  }
  style.Transparent = ini.ReadBool(section, prefix + "LTransp", style.Transparent);
  style.Color = TColor(ini.ReadInteger(section, prefix + "LColor", int32_t(style.Color)));
  style.Font.Name = ini.ReadString(section, prefix + "LFont", style.Font.Name);
  style.Font.Color =
      TColor(ini.ReadInteger(section, prefix + "LFColor", int32_t(style.Font.Color)));
  style.Font.Size =
      LabelFontSizeFromKey(ini.ReadInteger(section, prefix + "LFSize", style.Font.Size));
  style.Font.Bold = ini.ReadBool(section, prefix + "LFBold", false);
  style.Font.Italic = ini.ReadBool(section, prefix + "LFItalic", false);
  style.Font.Underline = ini.ReadBool(section, prefix + "LFUnderl", false);
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
