#pragma once
// The look of a text label (chart labels, the chart caption) and the setup keys that store it.

#include <QString>

#include "util/colors.h"
#include "util/fontrec.h"

namespace qz {

class IniFile;
template <class R>
class TStpKeys;

struct TLabelStyle {
  QString Caption;
  bool Visible = true;
  bool Transparent = true;
  TColor Color = clBtnFace;  // background when not transparent
  TFontRec Font;
  bool operator==(const TLabelStyle&) const = default;
};

// Font sizes a stored label may have.
int32_t LabelFontSizeFromKey(int32_t stored);  // limited to 8..24

// Keys prefix + "LCaption", "LVisible" (only with withText), "LTransp", "LColor", "LFont",
// "LFColor", "LFSize", "LFBold", "LFItalic", "LFUnderl". Reading uses the present values as
// defaults, except the caption (empty) and the three font styles (off).
void WriteLabelStyle(IniFile& ini, const QString& section, const QString& prefix,
                     const TLabelStyle& style, bool withText);
void ReadLabelStyle(const IniFile& ini, const QString& section, const QString& prefix,
                    TLabelStyle& style, bool withText);
// The tables of those keys: the text and visibility ("LCaption", "LVisible"), and the look.
const TStpKeys<TLabelStyle>& LabelTextKeys();
const TStpKeys<TLabelStyle>& LabelLookKeys();
// Transparency, background colour and font; with withText also the text and visibility.
void CopyLabelStyle(const TLabelStyle& from, TLabelStyle& to, bool withText);

}  // namespace qz
