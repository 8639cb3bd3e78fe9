// Arbitrary texts as a remote control's SetModelValue (key, zero byte, value, zero byte, the
// magnitude entry's format): the check never crashes, a refused value leaves no change behind,
// and an accepted one, applied as "&Apply" applies it, gives a model within its limits.
#include <QStringList>
#include <cmath>

#include "app/control.h"
#include "app/simcore.h"
#include "fuzzcheck.h"
#include "sim/mdlengine.h"
#include "sim/mdlpresenter.h"

using qz::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static qz::TSimCore core(true);
  const QList<QByteArray> parts = qz::fuzz::Bytes(data, size).split('\0');
  const QString key = QString::fromUtf8(parts.value(0));
  const QString value = QString::fromUtf8(parts.value(1));
  const int format = parts.size() > 2 && !parts[2].isEmpty() ? uint8_t(parts[2][0]) % 3 : 0;

  qz::TMdlEngine& m = core.Model;
  qz::TMdlPresenter& p = core.MdlPresenter;
  p.Ent.RFormat = format;
  std::function<void(qz::TMdlPresenter&)> edit;
  const QString why = qz::ModelValueEdit(key, value, p.Ent, 2.45e9, edit);
  Check(why.isEmpty() == bool(edit), "an answer that is neither a refusal nor a change", why);
  if (!edit) return 0;
  edit(p);
  p.Apply();
  Check(m.Mg11 >= 0.0 && m.Mg11 <= 1.0, "a magnitude outside 0..1 after an accepted value",
        key + QStringLiteral("=") + value);
  Check(std::isfinite(m.Faza) && m.Faza >= -180.0 && m.Faza <= 180.0,
        "a phase outside -180..180 after an accepted value", key + QStringLiteral("=") + value);
  Check(std::isfinite(m.f_Hz) && std::isfinite(m.Pow) && std::isfinite(m.Temp),
        "a value that is not a number after an accepted value", key + QStringLiteral("=") + value);
  return 0;
}
