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
//
// A field is named by a pointer to member or by a function returning a reference to it (for
// fields of nested records). Reading limits integers and doubles to their range with the
// lower bound winning when a damaged table crosses them; a value that is not a number takes the
// default, exactly as a missing key does. Colours are 32-bit values written in the signed form
// setup files have always held (system colours are negative); the unsigned form is read too.

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

template <class R>
class TStpKeys {
 public:
  using Writer = std::function<void(const R&, IniFile&, const QString& section)>;
  using Reader = std::function<void(R&, const IniFile&, const QString& section)>;

  // An integer field of any integral type, limited to lo..hi on reading. Without `def` a
  // missing key keeps the present value (limited as well).
  template <class A>
  TStpKeys& Int(const char* name, A field, int64_t lo, int64_t hi,
                std::optional<int64_t> def = std::nullopt) {
    auto ref = Ref(field);
    using T = std::remove_cvref_t<decltype(ref(std::declval<R&>()))>;
    static_assert(std::is_integral_v<T> || std::is_enum_v<T>, "Int keys hold integers");
    const QString key = QString::fromLatin1(name);
    return Add(
        key,
        [=](const R& r, IniFile& ini, const QString& s) {
          ini.WriteInteger(s, key, int64_t(ref(const_cast<R&>(r))));
        },
        [=](R& r, const IniFile& ini, const QString& s) {
          T& f = ref(r);
          const int64_t present = int64_t(f);
          int64_t v = def.value_or(present);
          if (const auto text = Raw(ini, s, key)) {
            if (const auto n = ParseInt32(*text)) v = *n;
          }
          f = T(ClampLowWins(v, lo, hi));
        });
  }

  // A double field, limited to lo..hi on reading.
  template <class A>
  TStpKeys& Float(const char* name, A field, double lo, double hi,
                  std::optional<double> def = std::nullopt) {
    auto ref = Ref(field);
    const QString key = QString::fromLatin1(name);
    return Add(
        key,
        [=](const R& r, IniFile& ini, const QString& s) {
          ini.WriteFloat(s, key, double(ref(const_cast<R&>(r))));
        },
        [=](R& r, const IniFile& ini, const QString& s) {
          auto& f = ref(r);
          const double v = ini.ReadFloat(s, key, def.value_or(double(f)));
          f = ClampLowWins(v, lo, hi);
        });
  }

  // A flag written as 1 or 0.
  template <class A>
  TStpKeys& Bool(const char* name, A field, std::optional<bool> def = std::nullopt) {
    auto ref = Ref(field);
    const QString key = QString::fromLatin1(name);
    return Add(
        key,
        [=](const R& r, IniFile& ini, const QString& s) {
          ini.WriteBool(s, key, ref(const_cast<R&>(r)));
        },
        [=](R& r, const IniFile& ini, const QString& s) {
          bool& f = ref(r);
          f = ini.ReadBool(s, key, def.value_or(f));
        });
  }

  // A text kept as it stands (line breaks never reach the file).
  template <class A>
  TStpKeys& Text(const char* name, A field, std::optional<QString> def = std::nullopt) {
    auto ref = Ref(field);
    const QString key = QString::fromLatin1(name);
    return Add(
        key,
        [=](const R& r, IniFile& ini, const QString& s) {
          ini.WriteString(s, key, ref(const_cast<R&>(r)));
        },
        [=](R& r, const IniFile& ini, const QString& s) {
          QString& f = ref(r);
          f = ini.ReadString(s, key, def.value_or(f));
        });
  }

  // A colour 0x00BBGGRR (top byte 0xFF: a system colour), written as a signed 32-bit number.
  template <class A>
  TStpKeys& Colour(const char* name, A field, std::optional<uint32_t> def = std::nullopt) {
    auto ref = Ref(field);
    const QString key = QString::fromLatin1(name);
    return Add(
        key,
        [=](const R& r, IniFile& ini, const QString& s) {
          WriteColourKey(ini, s, key, uint32_t(ref(const_cast<R&>(r))));
        },
        [=](R& r, const IniFile& ini, const QString& s) {
          auto& f = ref(r);
          f = ReadColourKey(ini, s, key, def.value_or(uint32_t(f)));
        });
  }

  // A key with its own writer and reader, for values whose text is not one of the forms above.
  TStpKeys& Custom(const char* name, Writer w, Reader r) {
    return Add(QString::fromLatin1(name), std::move(w), std::move(r));
  }

  // The last key added is written by the table but read by its owner (window places limited
  // to the screen, texts that depend on other keys).
  TStpKeys& WrittenOnly() {
    if (!keys_.empty()) keys_.back().read = nullptr;
    return *this;
  }

  void Write(const R& r, IniFile& ini, const QString& section) const {
    for (const Key& k : keys_) k.write(r, ini, section);
  }
  void Read(R& r, const IniFile& ini, const QString& section) const {
    for (const Key& k : keys_)
      if (k.read) k.read(r, ini, section);
  }

  // The key names in writing order.
  QStringList Names() const {
    QStringList out;
    for (const Key& k : keys_) out << k.name;
    return out;
  }

 private:
  struct Key {
    QString name;
    Writer write;
    Reader read;
  };

  TStpKeys& Add(const QString& name, Writer w, Reader r) {
    keys_.push_back(Key{name, std::move(w), std::move(r)});
    return *this;
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
