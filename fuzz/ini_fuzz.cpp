// Arbitrary bytes as a setup file: the reader never crashes, no section or key name holds a line
// break, every name and value read is written back as read, and what it writes reads back to
// the same bytes (load, save, load, save gives the first save again), so a damaged line can
// never make the file grow or change at every save.
#include <QStringList>

#include "fuzzcheck.h"
#include "util/inifile.h"

using qz::fuzz::Check;

namespace {

bool HasLineBreak(const QString& s) {
  return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qz::IniFile first;
  first.SetText(qz::fuzz::Bytes(data, size));
  const QStringList sections = first.ReadSections();
  for (const QString& sec : sections) {
    Check(!HasLineBreak(sec), "section name with a line break", sec);
    for (const QString& key : first.ReadSection(sec)) {
      Check(!HasLineBreak(key), "key name with a line break", sec + QLatin1Char('/') + key);
      (void)first.ReadString(sec, key, QString());
      (void)first.ReadInteger(sec, key, 0);
      (void)first.ReadFloat(sec, key, 0.0);
      (void)first.ReadBool(sec, key, false);
    }
  }
  const QByteArray saved1 = first.Text();

  qz::IniFile second;
  second.SetText(saved1);
  const QByteArray saved2 = second.Text();
  Check(saved1 == saved2, "load-save-load-save changed the bytes",
        QString::fromUtf8(saved1.toPercentEncoding(" =[];")) + QStringLiteral("\n---\n") +
            QString::fromUtf8(saved2.toPercentEncoding(" =[];")));
  Check(second.ReadSections().size() == sections.size(), "sections lost or gained on a save");

  // Every name and value read is written back as it was read: the writer trims only the blanks
  // and tabs that the reader trims too (a no-break space at the start of a file name stays).
  for (const QString& sec : sections) {
    for (const QString& key : first.ReadSection(sec)) {
      const QString v = first.ReadString(sec, key, QString());
      qz::IniFile copy;
      copy.WriteString(sec, key, v);
      Check(copy.ReadString(sec, key, QStringLiteral("(missing)")) == v,
            "a value read is not written back as read", sec + QLatin1Char('/') + key + '=' + v);
      Check(copy.ReadSection(sec).value(0) == key, "a key read is not written back as read", key);
    }
  }

  // A value written is read back as written (line breaks are dropped from written values).
  const QString sec = sections.isEmpty() ? QStringLiteral("S") : sections.front();
  second.WriteString(sec, QStringLiteral("FuzzKey"), QStringLiteral("a\r\nb"));
  Check(second.ReadString(sec, QStringLiteral("FuzzKey"), QString()) == QStringLiteral("ab"),
        "a written value does not read back");
  return 0;
}
