#include "tuner/tunmem.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>

#include "sim/tunerdescr.h"
#include "sim/tunermodel.h"
#include "util/atomicfile.h"
#include "util/format.h"
#include "util/readfile.h"

namespace qz {

namespace {

// Where the identity block holds the cell type.
constexpr int kIdentCellTypeAt = 148;

// Offsets in a version-1 file.
constexpr int kV1Ident = 21;
constexpr int kV1Motor = 193;
constexpr int kV1Table1 = 247;
constexpr int kV1Table2 = 380;
constexpr int kV1MaxIter = 513;
constexpr int kV1BreakUp = 517;
constexpr int kV1Hyst = 519;

// The compact table: NH, NF[1..4], then C[i][0..3] for i = 1..4 in 32-byte rows.
constexpr int kCompactRows = 4;
constexpr int kCompactCols = 4;
constexpr int kCompactRowStep = 32;

// ---- little-endian bytes ---------------------------------------------------------------------

class TBytesOut {
 public:
  explicit TBytesOut(int size) : b_(size, '\0') {}
  void U8(int at, uint8_t v) { b_[at] = char(v); }
  void U16(int at, uint16_t v) {
    for (int i = 0; i < 2; ++i) b_[at + i] = char((v >> (8 * i)) & 0xFF);
  }
  void U32(int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b_[at + i] = char((v >> (8 * i)) & 0xFF);
  }
  void I32(int at, int32_t v) { U32(at, uint32_t(v)); }
  void F64(int at, double v) {
    uint64_t u = 0;
    std::memcpy(&u, &v, sizeof u);
    for (int i = 0; i < 8; ++i) b_[at + i] = char((u >> (8 * i)) & 0xFF);
  }
  // A text cut to the field: the length byte, then the Latin-1 characters.
  void Text(int at, int field, const QString& s) {
    const QByteArray l1 = s.toLatin1().left(field - 1);
    U8(at, uint8_t(l1.size()));
    for (qsizetype i = 0; i < l1.size(); ++i) b_[at + 1 + int(i)] = l1[i];
  }
  void Put(int at, const QByteArray& part) {
    for (qsizetype i = 0; i < part.size(); ++i) b_[at + int(i)] = part[i];
  }
  const QByteArray& Bytes() const { return b_; }

 private:
  QByteArray b_;
};

// Reads within a slice of the file; the caller has checked that the slice is there.
class TBytesIn {
 public:
  TBytesIn(const QByteArray& b, int base) : b_(b), base_(base) {}
  uint8_t U8(int at) const { return uint8_t(b_[base_ + at]); }
  uint16_t U16(int at) const { return uint16_t(U8(at) | (U8(at + 1) << 8)); }
  uint32_t U32(int at) const {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | U8(at + i);
    return v;
  }
  int32_t I32(int at) const { return int32_t(U32(at)); }
  double F64(int at) const {
    uint64_t u = 0;
    for (int i = 7; i >= 0; --i) u = (u << 8) | U8(at + i);
    double v = 0.0;
    std::memcpy(&v, &u, sizeof v);
    return v;
  }
  // A length byte larger than the field holds is cut to the field.
  QString Text(int at, int field) const {
    const int n = std::min<int>(U8(at), field - 1);
    return QString::fromLatin1(b_.constData() + base_ + at + 1, n);
  }

 private:
  const QByteArray& b_;
  int base_;
};

// ---- writing the blocks ----------------------------------------------------------------------

// A block of the description: every field the field table places in it.
QByteArray DescrBlock(const TTunerDescr& d, TMemBlock block, int size) {
  TBytesOut o(size);
  for (const TDescrField& f : TunerDescrFields()) {
    if (f.block != block) continue;
    for (int k = f.count == 0 ? 0 : 1; k <= f.count; ++k) {
      const int at = f.offset + (f.count == 0 ? 0 : f.step * (k - 1));
      switch (f.mem) {
        case TMemType::U8:
          o.U8(at, uint8_t(f.get(d, k)));
          break;
        case TMemType::U16:
          o.U16(at, uint16_t(f.get(d, k)));
          break;
        case TMemType::I32:
          o.I32(at, int32_t(f.get(d, k)));
          break;
        case TMemType::F64:
          o.F64(at, f.get(d, k));
          break;
        case TMemType::Text:
          o.Text(at, f.step, f.text(const_cast<TTunerDescr&>(d)));
          break;
      }
    }
  }
  return o.Bytes();
}

QByteArray IdentityBlock(const TTunerDescr& d) {
  return DescrBlock(d, TMemBlock::Identity, kTunMemIdentSize);
}
QByteArray MotorBlock(const TTunerDescr& d) {
  return DescrBlock(d, TMemBlock::Motor, kTunMemMotorSize);
}
QByteArray CellBlock(const TTunerDescr& d) {
  return DescrBlock(d, TMemBlock::Cell, kTunMemCellSize);
}

QByteArray TableBlock(const TStubModel& m) {
  TBytesOut o(kTunMemTableSize);
  o.U8(0, uint8_t(m.NH));
  for (int i = 0; i < 10; ++i) o.U8(1 + i, uint8_t(m.NF[size_t(i)]));
  for (int i = 0; i < 10; ++i)
    for (int j = 0; j < 10; ++j) o.F64(11 + 8 * (10 * i + j), m.C[size_t(i)][size_t(j)]);
  return o.Bytes();
}

QByteArray CompactBlock(const TStubModel& m) {
  TBytesOut o(kTunMemCompactSize);
  o.U8(0, uint8_t(m.NH));
  for (int i = 1; i <= kCompactRows; ++i) o.U8(i, uint8_t(m.NF[size_t(i)]));
  for (int i = 1; i <= kCompactRows; ++i)
    for (int j = 0; j < kCompactCols; ++j)
      o.F64(5 + kCompactRowStep * (i - 1) + 8 * j, m.C[size_t(i)][size_t(j)]);
  return o.Bytes();
}

QByteArray Identification(int version) {
  return QByteArrayLiteral("TUNERMEM") +
         Format(QStringLiteral("%3.3d"), {version}).toLatin1().right(3);
}

// ---- reading: every value through the rule of its description key -----------------------------

class TApplier {
 public:
  explicit TApplier(TTunMemContent& c) : c_(c), mot_(), sim_() {
    mot_.MaxIter = c.MaxIter;
    mot_.BreakUp = c.BreakUp;
  }
  void Key(const QString& key, const QString& value) {
    TU_MdlAnalyzIni(key, value, TTunerRecords{c_.Descr, mot_, sim_});
  }
  void Int(const QString& key, int64_t v) { Key(key, Format(QStringLiteral("%d"), {v})); }
  // 17 significant digits give every double back exactly; a value that is not a number reads
  // as unreadable and takes the key's default.
  void Real(const QString& key, double v) { Key(key, FormatGeneral(v, 17)); }
  void Finish() {
    c_.MaxIter = mot_.MaxIter;
    c_.BreakUp = mot_.BreakUp;
  }

 private:
  TTunMemContent& c_;
  TMotState mot_;
  TSimState sim_;
};

QString K(const char* key) { return QString::fromLatin1(key); }
QString K(const char* key, int n) { return QString::fromLatin1(key) + QString::number(n); }
QString K(const char* key, int i, int j) {
  return QString::fromLatin1(key) + QString::number(i) + QLatin1Char('_') + QString::number(j);
}

// Every field of a block through the rule of its key. The cell type is `kind` (version 1 holds
// none of its own).
void ReadDescrBlock(const TBytesIn& in, TApplier& a, TMemBlock block, int32_t kind) {
  for (const TDescrField& f : TunerDescrFields()) {
    if (f.block != block) continue;
    for (int k = f.count == 0 ? 0 : 1; k <= f.count; ++k) {
      const int at = f.offset + (f.count == 0 ? 0 : f.step * (k - 1));
      const QString key = f.KeyOf(k);
      if (block == TMemBlock::Identity && at == kIdentCellTypeAt) {
        a.Int(key, kind);
        continue;
      }
      switch (f.mem) {
        case TMemType::U8:
          a.Int(key, in.U8(at));
          break;
        case TMemType::U16:
          a.Int(key, in.U16(at));
          break;
        case TMemType::I32:
          a.Int(key, in.I32(at));
          break;
        case TMemType::F64:
          a.Real(key, in.F64(at));
          break;
        case TMemType::Text:
          a.Key(key, in.Text(at, f.step));
          break;
      }
    }
  }
}

// The identity block; false when the description kind is neither a waveguide nor a coaxial
// tuner (forcedKind, version 1: the kind is always that of a waveguide).
bool ReadIdentity(const TBytesIn& in, TApplier& a, int forcedKind) {
  const int32_t kind = forcedKind > 0 ? forcedKind : in.I32(kIdentCellTypeAt);
  if (kind != kCellWaveguide && kind != kCellCoax) return false;
  ReadDescrBlock(in, a, TMemBlock::Identity, kind);
  return true;
}

void ReadMotor(const TBytesIn& in, TApplier& a) { ReadDescrBlock(in, a, TMemBlock::Motor, 0); }

void ReadCell(const TBytesIn& in, TApplier& a) { ReadDescrBlock(in, a, TMemBlock::Cell, 0); }

// A table replaces the whole stub model: what it does not name is zero.
void ReadTable(const TBytesIn& in, TApplier& a, TStubModel& m, bool second) {
  m = TStubModel{};
  const char* par = second ? "PAR2" : "PAR1";
  a.Int(QString::fromLatin1(par) + QStringLiteral("NH"), in.U8(0));
  for (int i = 0; i < 10; ++i) a.Int(QString::fromLatin1(par) + K("NF", i), in.U8(1 + i));
  for (int i = 0; i < 10; ++i)
    for (int j = 0; j < 10; ++j)
      a.Real(QString::fromLatin1(par) + K("COEF", i, j), in.F64(11 + 8 * (10 * i + j)));
}

// The compact table expands with row 0 zero, as its keys do.
void ReadCompact(const TBytesIn& in, TApplier& a, TStubModel& m, bool second) {
  m = TStubModel{};
  a.Int(K(second ? "NHB" : "NHX"), in.U8(0));
  for (int i = 1; i <= kCompactRows; ++i) a.Int(K(second ? "NFB" : "NFX", i), in.U8(i));
  for (int i = 1; i <= kCompactRows; ++i)
    for (int j = 0; j < kCompactCols; ++j)
      a.Real(K(second ? "POLEB" : "POLEX", i, j), in.F64(5 + kCompactRowStep * (i - 1) + 8 * j));
}

void ReadAutotune(const TBytesIn& in, int at, TApplier& a) {
  a.Int(K("MAXITER"), in.U32(at));
  a.Int(K("BREAKUP"), in.U16(at + 4));
}

int32_t ReadV1(const QByteArray& bytes, TTunMemContent& c) {
  if (bytes.size() < kTunMemV1Size) return kTunMemInvalid;
  TApplier a(c);
  if (!ReadIdentity(TBytesIn(bytes, kV1Ident), a, kCellWaveguide)) return kTunMemInvalid;
  ReadMotor(TBytesIn(bytes, kV1Motor), a);
  ReadCompact(TBytesIn(bytes, kV1Table1), a, c.Descr.Par1, false);
  ReadCompact(TBytesIn(bytes, kV1Table2), a, c.Descr.Par2, true);
  ReadAutotune(TBytesIn(bytes, 0), kV1MaxIter, a);
  a.Finish();
  return kTunMemOk;
}

int32_t ReadV2(const QByteArray& bytes, TTunMemContent& c) {
  // Where each record type was found (the last one of a type counts).
  int at[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
  for (qsizetype pos = 0; pos + kTunMemV2RecSize <= bytes.size(); pos += kTunMemV2RecSize) {
    const int type = uint8_t(bytes[pos]);
    if (type <= tmrAutotune) at[type] = int(pos) + 1;
  }
  if (at[tmrIdentity] < 0 || at[tmrStubModel1] < 0 || at[tmrStubModel2] < 0 || at[tmrAutotune] < 0)
    return kTunMemInvalid;
  const int32_t kind = TBytesIn(bytes, at[tmrIdentity]).I32(kIdentCellTypeAt);
  const int cell = kind == kCellWaveguide ? tmrCellWaveguide : tmrCellCoax;
  if ((kind != kCellWaveguide && kind != kCellCoax) || at[cell] < 0) return kTunMemInvalid;

  TApplier a(c);
  ReadIdentity(TBytesIn(bytes, at[tmrIdentity]), a, 0);
  if (at[tmrMotor] >= 0) ReadMotor(TBytesIn(bytes, at[tmrMotor]), a);
  ReadCell(TBytesIn(bytes, at[cell]), a);
  ReadTable(TBytesIn(bytes, at[tmrStubModel1]), a, c.Descr.Par1, false);
  ReadTable(TBytesIn(bytes, at[tmrStubModel2]), a, c.Descr.Par2, true);
  ReadAutotune(TBytesIn(bytes, at[tmrAutotune]), 0, a);
  a.Finish();
  return kTunMemOk;
}

}  // namespace

TTunMemContent TunMemContentOf(const TTunerDescr& d, const TMotState& mot) {
  TTunMemContent c;
  c.Descr = d;
  c.MaxIter = mot.MaxIter;
  c.BreakUp = mot.BreakUp;
  c.HystDg = mot.HystDg;
  return c;
}

QByteArray TunMemBytes(const TTunMemContent& c, int version, unsigned omitTypes) {
  const QByteArray id = Identification(version);
  if (version == 1) {
    TBytesOut o(kTunMemV1Size);
    o.U8(0, uint8_t(id.size()));
    o.Put(1, id);
    o.Put(kV1Ident, IdentityBlock(c.Descr));
    o.Put(kV1Motor, MotorBlock(c.Descr));
    o.Put(kV1Table1, CompactBlock(c.Descr.Par1));
    o.Put(kV1Table2, CompactBlock(c.Descr.Par2));
    o.U32(kV1MaxIter, c.MaxIter);
    o.U16(kV1BreakUp, c.BreakUp);
    o.U8(kV1Hyst, c.HystDg);
    return o.Bytes();
  }
  QByteArray out;
  const auto record = [&](int type, const QByteArray& data) {
    if (omitTypes & (1u << type)) return;
    TBytesOut o(kTunMemV2RecSize);
    o.U8(0, uint8_t(type));
    o.Put(1, data);
    out += o.Bytes();
  };
  QByteArray header(1, char(id.size()));
  header += id;
  record(tmrHeader, header);
  record(tmrIdentity, IdentityBlock(c.Descr));
  record(tmrMotor, MotorBlock(c.Descr));
  record(c.Descr.CellType == kCellCoax ? tmrCellCoax : tmrCellWaveguide, CellBlock(c.Descr));
  record(tmrStubModel1, TableBlock(c.Descr.Par1));
  record(tmrStubModel2, TableBlock(c.Descr.Par2));
  TBytesOut at(7);
  at.U32(0, c.MaxIter);
  at.U16(4, c.BreakUp);
  at.U8(6, c.HystDg);
  record(tmrAutotune, at.Bytes());
  return out;
}

bool WriteTunMemFile(const QString& path, const TTunMemContent& c, int version, QString& error) {
  const AtomicWriteResult r = WriteFileAtomic(path, TunMemBytes(c, version));
  error = r.reason;
  return r.ok();
}

int TunMemVersion(const QByteArray& bytes) {
  if (bytes.size() < kTunMemIdRecSize) return -1;
  int start = -1;
  if (uint8_t(bytes[0]) == kTunMemIdLen)
    start = 1;
  else if (bytes[0] == 0 && uint8_t(bytes[1]) == kTunMemIdLen)
    start = 2;
  if (start < 0) return -1;
  int version = 0;
  for (int i = kTunMemIdLen - 3; i < kTunMemIdLen; ++i) {
    const char ch = bytes[start + i];
    if (ch < '0' || ch > '9') return -1;
    version = version * 10 + (ch - '0');
  }
  return version;
}

int32_t ReadTunMem(const QByteArray& bytes, const TTunMemContent& current, TTunMemContent& out) {
  out = current;
  switch (TunMemVersion(bytes)) {
    case 1:
      return ReadV1(bytes, out);
    case 2:
      return ReadV2(bytes, out);
    default:
      // An unknown version cannot be read: it is refused, never taken as loaded.
      return kTunMemInvalid;
  }
}

int32_t LoadTunMemFile(const QString& path, TTunerModel& model) {
  const TReadFileResult file = ReadRegularFile(path, TFileKind::TunMem);
  if (file.status == TReadFileStatus::TooLarge) return kTunMemInvalid;
  if (!file.ok()) return kTunMemNotFound;
  const QByteArray& bytes = file.bytes;

  // The file is read into copies; the tuner changes only when the whole file is accepted.
  TTunMemContent loaded;
  const int32_t code = ReadTunMem(bytes, TunMemContentOf(model.Descr(), model.Mot()), loaded);
  if (code != kTunMemOk) return code;
  model.Descr() = loaded.Descr;
  model.Mot().MaxIter = loaded.MaxIter;
  model.Mot().BreakUp = loaded.BreakUp;
  model.Sim().UserMax_mm = -1.0;
  return kTunMemOk;
}

}  // namespace qz
