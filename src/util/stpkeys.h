#pragma once
// The keys of one record in a setup section, as a table: each key has its name, how it is read
// (limits, the default taken when the key is missing or unreadable) and the field it keeps. The
// table writes the keys in its own order and reads them back, so a record's WriteStp and ReadStp
// are two lines and cannot drift apart.
//
//   static const TStpKeys<TMyStp> keys = TStpKeys<TMyStp>()
//       .Int("Points", &TMyStp::Points, 1, 20001)          // missing: the present value stays
//       .Float("Gain", &TMyStp::Gain, 0.0, 10.0, 1.0)      // missing: 1.0
//       .Bool("Visible", &TMyStp::Visible)
//       .Text("Info", [](TMyStp& r) -> QString& { return r.Sub.Info; });
//   keys.Write(rec, ini, "MySection");
//   keys.Read(rec, ini, "MySection");
//   keys.TextOf(rec, "Gain");                          // the text "Gain" is written with
//
// A field is named by a pointer to member or by a function returning a reference to it (for
// fields of nested records). Reading limits integers and doubles to their range with the
// lower bound winning when a damaged table crosses them; a value that is not a number takes the
// default, exactly as a missing key does. Colours are 32-bit values written in the signed form
// setup files have always held (system colours are negative); the unsigned form is read too.
//
// Records made of smaller records keep one table per part:
//
//   .Group("Line", PenKeys(), &TTrace::LinePen)        // the pen's keys named "Line" + name
//   .Section(" Trace_", {0, 1, 2, 3}, DrawKeys(),       // the trace keys in sub-sections
//            [](TForm& r, int i) -> TDraw& { return r.Atr[i]; })  // section + " Trace_" + i
//   .Each("StubDist", {1, 2, 3}, IntKey, [](..., int i) -> int32_t& { ... })  // "StubDist1" ...
//   .When([](const TForm& r) { return r.State == 0; }) // the last entry only in that state
//
// A table is written and read with an optional name prefix: every key of its own (Custom ones
// included, through the name they are given) is then named prefix + name.

#include <QString>
#include <QStringList>
#include <concepts>
#include <cstdint>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "util/inifile.h"
#include "util/numutil.h"
#include "util/parse.h"

namespace qz {

// A colour key: written in the signed 32-bit form, read in the signed or the unsigned form; a
// missing or unreadable key gives `current`.
inline void WriteColourKey(IniFile& ini, const QString& section, const QString& key, uint32_t c) {
  ini.WriteInteger(section, key, int64_t(int32_t(c)));
}
inline uint32_t ReadColourKey(const IniFile& ini, const QString& section, const QString& key,
                              uint32_t current) {
  if (!ini.ValueExists(section, key)) return current;
  const auto n = ParseInt64(ini.ReadString(section, key, QString()));
  if (n && *n >= INT32_MIN && *n <= int64_t(UINT32_MAX)) return uint32_t(*n);
  return current;
}

// How a colour key's stored text is read: the signed and the unsigned 32-bit form, or the
// signed form only (the form older records were read in; an unsigned text keeps the value).
enum class TColourRead { AnyForm, SignedOnly };

template <class R>
class TStpKeys {
 public:
  using Writer = std::function<void(const R&, IniFile&, const QString& section)>;
  using Reader = std::function<void(R&, const IniFile&, const QString& section)>;
  // A custom entry that gets its whole key name (the table's prefix and its own name).
  using KeyWriter =
      std::function<void(const R&, IniFile&, const QString& section, const QString& key)>;
  using KeyReader =
      std::function<void(R&, const IniFile&, const QString& section, const QString& key)>;

  // An integer field of any integral type, limited to lo..hi on reading. Without `def` a
  // missing key keeps the present value (limited as well).
  template <class A>
  TStpKeys& Int(const char* name, A field, int64_t lo, int64_t hi,
                std::optional<int64_t> def = std::nullopt) {
    return IntKey(name, field, def, [lo, hi](int64_t v) { return ClampLowWins(v, lo, hi); });
  }

  // An integer field whose stored value passes through `rule` on reading, for keys whose read
  // rule is not a range (a style outside its known values reads as the first one). Without
  // `def` a missing or unreadable key keeps the present value, which passes the rule too.
  template <class A>
  TStpKeys& IntRule(const char* name, A field, int32_t (*rule)(int32_t),
                    std::optional<int32_t> def = std::nullopt) {
    return IntKey(name, field, def, [rule](int64_t v) { return int64_t(rule(int32_t(v))); });
  }

  // A double field, limited to lo..hi on reading.
  template <class A>
  TStpKeys& Float(const char* name, A field, double lo, double hi,
                  std::optional<double> def = std::nullopt) {
    auto ref = Ref(field);
    return AddKey(
        name,
        [=](const R& r, IniFile& ini, const QString& s, const QString& key) {
          ini.WriteFloat(s, key, double(ref(const_cast<R&>(r))));
        },
        [=](R& r, const IniFile& ini, const QString& s, const QString& key) {
          auto& f = ref(r);
          const double v = ini.ReadFloat(s, key, def.value_or(double(f)));
          f = ClampLowWins(v, lo, hi);
        });
  }

  // A double written in the text `text` gives and read by `rule(stored text, present value)`;
  // a missing key keeps the present value.
  template <class A>
  TStpKeys& FloatForm(const char* name, A field, QString (*text)(double),
                      double (*rule)(const QString&, double)) {
    auto ref = Ref(field);
    return AddKey(
        name,
        [=](const R& r, IniFile& ini, const QString& s, const QString& key) {
          ini.WriteString(s, key, text(double(ref(const_cast<R&>(r)))));
        },
        [=](R& r, const IniFile& ini, const QString& s, const QString& key) {
          if (const auto raw = Raw(ini, s, key)) {
            auto& f = ref(r);
            f = rule(*raw, double(f));
          }
        });
  }

  // A flag written as 1 or 0.
  template <class A>
  TStpKeys& Bool(const char* name, A field, std::optional<bool> def = std::nullopt) {
    auto ref = Ref(field);
    return AddKey(
        name,
        [=](const R& r, IniFile& ini, const QString& s, const QString& key) {
          ini.WriteBool(s, key, ref(const_cast<R&>(r)));
        },
        [=](R& r, const IniFile& ini, const QString& s, const QString& key) {
          bool& f = ref(r);
          f = ini.ReadBool(s, key, def.value_or(f));
        });
  }

  // A text kept as it stands (line breaks never reach the file).
  template <class A>
  TStpKeys& Text(const char* name, A field, std::optional<QString> def = std::nullopt) {
    auto ref = Ref(field);
    return AddKey(
        name,
        [=](const R& r, IniFile& ini, const QString& s, const QString& key) {
          ini.WriteString(s, key, ref(const_cast<R&>(r)));
        },
        [=](R& r, const IniFile& ini, const QString& s, const QString& key) {
          QString& f = ref(r);
          f = ini.ReadString(s, key, def.value_or(f));
        });
  }

  // A colour 0x00BBGGRR (top byte 0xFF: a system colour), written as a signed 32-bit number.
  template <class A>
  TStpKeys& Colour(const char* name, A field, std::optional<uint32_t> def = std::nullopt,
                   TColourRead form = TColourRead::AnyForm) {
    auto ref = Ref(field);
    return AddKey(
        name,
        [=](const R& r, IniFile& ini, const QString& s, const QString& key) {
          WriteColourKey(ini, s, key, uint32_t(ref(const_cast<R&>(r))));
        },
        [=](R& r, const IniFile& ini, const QString& s, const QString& key) {
          auto& f = ref(r);
          const uint32_t present = def.value_or(uint32_t(f));
          if (form == TColourRead::AnyForm)
            f = ReadColourKey(ini, s, key, present);
          else
            f = uint32_t(ini.ReadInteger(s, key, int32_t(present)));
        });
  }

  // A key with its own writer and reader, for values whose text is not one of the forms above.
  // The writer and reader name their keys themselves (the table's prefix does not reach them).
  TStpKeys& Custom(const char* name, Writer w, Reader r) {
    KeyReader kr;
    if (r)
      kr = [r](R& rec, const IniFile& ini, const QString& s, const QString&) { r(rec, ini, s); };
    return Add(
        Key{{QString::fromLatin1(name)},
            [w](const R& rec, IniFile& ini, const QString& s, const QString&) { w(rec, ini, s); },
            std::move(kr)});
  }
  // A custom key that is handed its whole name (prefix and name).
  TStpKeys& CustomKey(const char* name, KeyWriter w, KeyReader r) {
    return AddKey(name, std::move(w), std::move(r));
  }

  // The keys of a part of the record, each named prefix + its name, in the same section.
  template <class S, class A>
  TStpKeys& Group(const QString& prefix, const TStpKeys<S>& part, A field) {
    auto ref = Ref(field);
    QStringList names;
    for (const QString& n : part.Names()) names << prefix + n;
    return Add(Key{names,
                   [=](const R& r, IniFile& ini, const QString& s, const QString& p) {
                     part.Write(ref(const_cast<R&>(r)), ini, s, p + prefix);
                   },
                   [=](R& r, const IniFile& ini, const QString& s, const QString& p) {
                     part.Read(ref(r), ini, s, p + prefix);
                   }});
  }

  // An indexed group: for each index i, the keys of part field(r, i) named prefix + i + name.
  template <class S, class F>
  TStpKeys& Each(const QString& prefix, std::vector<int> indices, const TStpKeys<S>& part,
                 F field) {
    QStringList names;
    for (const int i : indices)
      for (const QString& n : part.Names()) names << prefix + QString::number(i) + n;
    return Add(Key{names,
                   [=](const R& r, IniFile& ini, const QString& s, const QString& p) {
                     for (const int i : indices)
                       part.Write(field(const_cast<R&>(r), i), ini, s,
                                  p + prefix + QString::number(i));
                   },
                   [=](R& r, const IniFile& ini, const QString& s, const QString& p) {
                     for (const int i : indices)
                       part.Read(field(r, i), ini, s, p + prefix + QString::number(i));
                   }});
  }

  // Indexed sub-sections: for each index i, the keys of part field(r, i) in the section
  // section + suffix + i (unprefixed). Their names are not among Names().
  template <class S, class F>
  TStpKeys& Section(const QString& suffix, std::vector<int> indices, const TStpKeys<S>& part,
                    F field) {
    return Add(Key{{},
                   [=](const R& r, IniFile& ini, const QString& s, const QString&) {
                     for (const int i : indices)
                       part.Write(field(const_cast<R&>(r), i), ini, SubSection(s, suffix, i));
                   },
                   [=](R& r, const IniFile& ini, const QString& s, const QString&) {
                     for (const int i : indices)
                       part.Read(field(r, i), ini, SubSection(s, suffix, i));
                   }});
  }

  // The last entry is written only while `pred` holds for the record (it is always read).
  TStpKeys& WrittenWhen(std::function<bool(const R&)> pred) {
    if (keys_.empty()) return *this;
    Key& k = keys_.back();
    k.write = [w = std::move(k.write), pred = std::move(pred)](const R& r, IniFile& ini,
                                                               const QString& s, const QString& p) {
      if (pred(r)) w(r, ini, s, p);
    };
    return *this;
  }
  // The last entry is written and read only while `pred` holds for the record.
  TStpKeys& When(std::function<bool(const R&)> pred) {
    if (keys_.empty()) return *this;
    Key& k = keys_.back();
    if (k.read)
      k.read = [rd = std::move(k.read), pred](R& r, const IniFile& ini, const QString& s,
                                              const QString& p) {
        if (pred(r)) rd(r, ini, s, p);
      };
    return WrittenWhen(std::move(pred));
  }

  // No key: after the keys before it are read, `f` derives what follows from them.
  TStpKeys& OnRead(std::function<void(R&)> f) {
    return Add(
        Key{{},
            [](const R&, IniFile&, const QString&, const QString&) {},
            [f = std::move(f)](R& r, const IniFile&, const QString&, const QString&) { f(r); }});
  }

  // The last key added is written by the table but read by its owner (window places limited
  // to the screen, texts that depend on other keys).
  TStpKeys& WrittenOnly() {
    if (!keys_.empty()) keys_.back().read = nullptr;
    return *this;
  }

  void Write(const R& r, IniFile& ini, const QString& section,
             const QString& prefix = QString()) const {
    for (const Key& k : keys_) k.write(r, ini, section, prefix);
  }
  void Read(R& r, const IniFile& ini, const QString& section,
            const QString& prefix = QString()) const {
    for (const Key& k : keys_)
      if (k.read) k.read(r, ini, section, prefix);
  }

  // The key names in writing order (those of groups included, those of sub-sections not).
  QStringList Names() const {
    QStringList out;
    for (const Key& k : keys_) out << k.names;
    return out;
  }

  // The text the key `name` (one of Names()) is written with for `r`, exactly as a saved setup
  // holds it; none for a name the table has not, or does not write for this record.
  std::optional<QString> TextOf(const R& r, const QString& name) const {
    const QString scratch = QStringLiteral("Record");
    for (const Key& k : keys_) {
      if (!k.names.contains(name)) continue;
      IniFile ini;
      k.write(r, ini, scratch, QString());
      if (!ini.ValueExists(scratch, name)) return std::nullopt;
      return ini.ReadString(scratch, name, QString());
    }
    return std::nullopt;
  }

 private:
  struct Key {
    QStringList names;
    KeyWriter write;
    KeyReader read;
  };

  TStpKeys& Add(Key k) {
    keys_.push_back(std::move(k));
    return *this;
  }
  // A key of its own: the writer and reader get prefix + name.
  TStpKeys& AddKey(const char* name, KeyWriter w, KeyReader r) {
    const QString own = QString::fromLatin1(name);
    KeyReader kr;
    if (r)
      kr = [own, r = std::move(r)](R& rec, const IniFile& ini, const QString& s, const QString& p) {
        r(rec, ini, s, p + own);
      };
    return Add(Key{{own},
                   [own, w = std::move(w)](const R& rec, IniFile& ini, const QString& s,
                                           const QString& p) { w(rec, ini, s, p + own); },
                   std::move(kr)});
  }

  // An integer key: written as a number; read as a 32-bit number, else `def`, else the present
  // value, then passed through `finish` (a range or a rule).
  template <class A>
  TStpKeys& IntKey(const char* name, A field, std::optional<int64_t> def,
                   std::function<int64_t(int64_t)> finish) {
    auto ref = Ref(field);
    using T = std::remove_cvref_t<decltype(ref(std::declval<R&>()))>;
    static_assert(std::is_integral_v<T> || std::is_enum_v<T>, "Int keys hold integers");
    return AddKey(
        name,
        [=](const R& r, IniFile& ini, const QString& s, const QString& key) {
          ini.WriteInteger(s, key, int64_t(ref(const_cast<R&>(r))));
        },
        [=](R& r, const IniFile& ini, const QString& s, const QString& key) {
          T& f = ref(r);
          int64_t v = def.value_or(int64_t(f));
          if (const auto text = Raw(ini, s, key)) {
            if (const auto n = ParseInt32(*text)) v = *n;
          }
          f = T(finish(v));
        });
  }

  static QString SubSection(const QString& s, const QString& suffix, int i) {
    return s + suffix + QString::number(i);
  }

  // The raw value of a key, none when it is missing.
  static std::optional<QString> Raw(const IniFile& ini, const QString& s, const QString& key) {
    if (!ini.ValueExists(s, key)) return std::nullopt;
    return ini.ReadString(s, key, QString());
  }

  // A field named by a pointer to member, or by a function giving a reference to it.
  template <class A>
  static auto Ref(A field) {
    if constexpr (std::is_member_object_pointer_v<A>) {
      return [field](R & r) -> auto& { return r.*field; };
    } else {
      return field;
    }
  }

  std::vector<Key> keys_;
};

}  // namespace qz
