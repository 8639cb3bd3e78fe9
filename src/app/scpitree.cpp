#include "app/scpitree.h"

#include <cmath>

#include "core/saveresults.h"
#include "version.h"

namespace qz {

QString ScpiIdentity() { return QStringLiteral("Vostrel," QZ_PROGRAM_NAME ",0," QZ_VERSION); }

struct TScpiSession::TCall {
  const TScpiUnit& unit;
  QString answer;
  bool answered = false;
  bool wait = false;  // the unit waits for the operations in progress
  // The parameter kinds a command takes; false (with the error queued) otherwise.
  bool Number(TScpiSession& s, size_t i, double& v) const {
    if (unit.params[i].kind != TScpiParam::Number) {
      s.AddError(kScpiDataTypeError);
      return false;
    }
    v = unit.params[i].number;
    return true;
  }
  bool Text(TScpiSession& s, size_t i, QString& t) const {
    if (unit.params[i].kind == TScpiParam::Number) {
      s.AddError(kScpiDataTypeError);
      return false;
    }
    t = unit.params[i].text;
    return true;
  }
  // 0, 1, OFF or ON.
  bool Bool(TScpiSession& s, size_t i, bool& b) const {
    const TScpiParam& p = unit.params[i];
    if (p.kind == TScpiParam::Number && (p.number == 0.0 || p.number == 1.0)) {
      b = p.number != 0.0;
      return true;
    }
    if (p.kind == TScpiParam::Chars &&
        (p.text.compare(QLatin1String("ON"), Qt::CaseInsensitive) == 0 ||
         p.text.compare(QLatin1String("OFF"), Qt::CaseInsensitive) == 0)) {
      b = p.text.compare(QLatin1String("ON"), Qt::CaseInsensitive) == 0;
      return true;
    }
    s.AddError(p.kind == TScpiParam::Number ? kScpiOutOfRange : kScpiDataTypeError);
    return false;
  }
  QString OptionalText(size_t i) const {
    return i < unit.params.size() ? unit.params[i].text : QString();
  }
  void Answer(const QString& a) {
    answer = a;
    answered = true;
  }
};

namespace {

QString ValueText(const QVariant& v) {
  switch (v.typeId()) {
    case QMetaType::Double:
      return ScpiNumber(v.toDouble());
    case QMetaType::QString:
      return ScpiString(v.toString());
    case QMetaType::UChar:
      return QString::number(v.value<uchar>());
    default:
      return v.toString();
  }
}

// The command's answer code and text: 0,"No error".
QString CmdAnswer(const TControlCmdAnswer& a) {
  return QString::number(a.code) + QChar(',') + ScpiString(a.text);
}

}  // namespace

TScpiSession::TScpiSession(TControl& control, TScpiSource source)
    : control_(control), source_(std::move(source)) {}

const std::vector<TScpiSession::TEntry>& TScpiSession::Tree() {
  using S = TScpiSession;
  // A file command: the path, an optional comment.
  auto fileCmd = [](TControlResult (TControl::*save)(const QString&, const QString&)) {
    return [save](S& s, TCall& c) {
      QString path, comment;
      if (!c.Text(s, 0, path)) return;
      if (c.unit.params.size() > 1 && !c.Text(s, 1, comment)) return;
      s.AddControlError((s.control_.*save)(path, comment));
    };
  };
  auto measured = [](QStringList keys) { return [keys](S& s, TCall& c) { s.Measured(c, keys); }; };
  // Asks the run to end; *OPC? then waits for its end. An idle unit is no error.
  auto abort = [](S& s, TCall&) {
    if (!s.control_.Running()) return;
    const TControlResult r = s.control_.Pause();
    if (r.ok())
      s.pending_.runEnd = true;
    else if (s.control_.Running())
      s.AddControlError(r);
  };
  static const std::vector<TEntry> tree = {
      {TScpiPattern("*IDN"), true, 0, 0, [](S&, TCall& c) { c.Answer(ScpiIdentity()); }},
      {TScpiPattern("*RST"), false, 0, 0, abort},
      {TScpiPattern("*CLS"), false, 0, 0,
       [](S& s, TCall&) {
         s.errors_.clear();
         s.esr_ = 0;
       }},
      {TScpiPattern("*ESR"), true, 0, 0,
       [](S& s, TCall& c) {
         c.Answer(QString::number(s.esr_));
         s.esr_ = 0;
       }},
      {TScpiPattern("*OPC"), true, 0, 0,
       [](S& s, TCall& c) {
         if (s.Waiting())
           c.wait = true;
         else
           c.Answer(QStringLiteral("1"));
       }},
      {TScpiPattern("*WAI"), false, 0, 0, [](S& s, TCall& c) { c.wait = s.Waiting(); }},
      {TScpiPattern("INITiate[:IMMediate]"), false, 0, 0,
       [](S& s, TCall&) {
         const TControlResult r = s.control_.Run();
         if (r.ok())
           s.pending_.runStart = true;
         else if (r.status == TControlStatus::WrongState)
           s.AddError(kScpiInitIgnored, r.error);
         else
           s.AddControlError(r);
       }},
      {TScpiPattern("ABORt"), false, 0, 0, abort},
      {TScpiPattern("INITiate:STATe"), true, 0, 0,
       [](S& s, TCall& c) { c.Answer(s.control_.Running() ? QStringLiteral("1") : "0"); }},
      {TScpiPattern("MEASure:GAMMa[:INPut]"), true, 0, 0, measured({"mag_in", "pha_in_deg"})},
      {TScpiPattern("MEASure:GAMMa:LOAD"), true, 0, 0, measured({"mag_load", "pha_load_deg"})},
      {TScpiPattern("MEASure:POWer[:INCident]"), true, 0, 0, measured({"pinc_W"})},
      {TScpiPattern("MEASure:POWer:REFLected"), true, 0, 0, measured({"prfl_W"})},
      {TScpiPattern("MEASure:POWer:ABSorbed"), true, 0, 0, measured({"pabs_W"})},
      {TScpiPattern("MEASure:FREQuency"), true, 0, 0, measured({"freq_Hz"})},
      {TScpiPattern("MEASure:TEMPerature"), true, 0, 0, measured({"temp_C"})},
      {TScpiPattern("MEASure:STUBs"), true, 0, 0, measured({"stub1_mm", "stub2_mm", "stub3_mm"})},
      {TScpiPattern("MEASure:FRAMe"), true, 0, 0, measured({"frame"})},
      {TScpiPattern("MEASure:ALL"), true, 0, 0, measured({})},
      {TScpiPattern("MEASure:ITEM"), true, 0, 0,
       [](S& s, TCall& c) {
         const std::optional<TScpiMeasured> m = s.source_ ? s.source_() : std::nullopt;
         if (!m)
           s.AddError(kScpiExecutionError, kNoMeasuredData);
         else
           c.Answer(m->item);
       }},
      {TScpiPattern("SOURce:LOAD"), false, 2, 2,
       [](S& s, TCall& c) {
         double mag = 0.0, deg = 0.0;
         if (c.Number(s, 0, mag) && c.Number(s, 1, deg))
           s.AddControlError(s.control_.SetModelLoad(mag, deg));
       }},
      {TScpiPattern("SOURce:VALue"), false, 2, 2,
       [](S& s, TCall& c) {
         QString key;
         if (c.Text(s, 0, key))
           s.AddControlError(s.control_.SetModelValue(key, c.unit.params[1].text));
       }},
      {TScpiPattern("SOURce:VALue"), true, 1, 1,
       [](S& s, TCall& c) {
         QString key, text;
         if (!c.Text(s, 0, key)) return;
         const TControlResult r = s.control_.ModelValueText(key, text);
         if (r.ok())
           c.Answer(ScpiString(text));
         else
           s.AddControlError(r);
       }},
      {TScpiPattern("TUNE:AUTO"), true, 0, 0,
       [](S& s, TCall& c) {
         const TControlCmdAnswer a = s.control_.AutoTune();
         if (a.result.ok())
           c.Answer(CmdAnswer(a));
         else
           s.AddControlError(a.result);
       }},
      {TScpiPattern("TUNE:MOVE"), true, 3, 3,
       [](S& s, TCall& c) {
         double mm[3];
         for (size_t i = 0; i < 3; ++i)
           if (!c.Number(s, i, mm[i])) return;
         const TControlCmdAnswer a = s.control_.MoveStubs(mm[0], mm[1], mm[2]);
         if (a.result.ok())
           c.Answer(CmdAnswer(a));
         else
           s.AddControlError(a.result);
       }},
      {TScpiPattern("MMEMory:LOAD:SETup"), false, 1, 1,
       [](S& s, TCall& c) {
         QString path;
         if (c.Text(s, 0, path)) s.AddControlError(s.control_.LoadSetup(path));
       }},
      {TScpiPattern("MMEMory:STORe:SETup"), false, 1, 2, fileCmd(&TControl::SaveSetup)},
      {TScpiPattern("MMEMory:STORe:RESults"), false, 1, 2, fileCmd(&TControl::SaveResults)},
      {TScpiPattern("MMEMory:STORe:CSV"), false, 1, 2, fileCmd(&TControl::SaveResultsCsv)},
      {TScpiPattern("MMEMory:STORe:CHARt"), false, 2, 4,
       [](S& s, TCall& c) {
         QString path, type;
         if (!c.Text(s, 0, path) || !c.Text(s, 1, type)) return;
         uint32_t side[2] = {0, 0};
         for (size_t i = 2; i < c.unit.params.size(); ++i) {
           double v = 0.0;
           if (!c.Number(s, i, v)) return;
           // A side the chart could never have is refused before the control sees it.
           if (!(v >= 0.0 && v <= 1e6 && v == std::floor(v))) {
             s.AddError(kScpiOutOfRange,
                        QStringLiteral("A side must be a whole number of pixels, not %1.")
                            .arg(c.unit.params[i].text));
             return;
           }
           side[i - 2] = uint32_t(v);
         }
         s.AddControlError(s.control_.SaveChart(type, path, side[0], side[1]));
       }},
      {TScpiPattern("SYSTem:ERRor[:NEXT]"), true, 0, 0,
       [](S& s, TCall& c) {
         QPair<int, QString> e{kScpiNoError, ScpiErrorText(kScpiNoError)};
         if (!s.errors_.empty()) {
           e = s.errors_.front();
           s.errors_.pop_front();
         }
         c.Answer(QString::number(e.first) + QChar(',') + ScpiString(e.second));
       }},
      {TScpiPattern("SYSTem:QUIT"), false, 0, 1,
       [](S& s, TCall& c) {
         bool save = false;
         if (!c.unit.params.empty() && !c.Bool(s, 0, save)) return;
         s.AddControlError(s.control_.Quit(save));
       }},
  };
  return tree;
}

void TScpiSession::AddError(int code, const QString& detail) {
  QString text = ScpiErrorText(code);
  if (!detail.isEmpty()) text += QChar(';') + detail;
  if (int(errors_.size()) < kScpiErrorQueueSize) {
    errors_.push_back({code, text});
  } else {
    errors_.back() = {kScpiQueueOverflow, ScpiErrorText(kScpiQueueOverflow)};
    esr_ |= kEsrDeviceError;
  }
  if (code <= -100 && code > -200)
    esr_ |= kEsrCommandError;
  else if (code <= -200 && code > -300)
    esr_ |= kEsrExecutionError;
  else if (code <= -300 && code > -400)
    esr_ |= kEsrDeviceError;
}

void TScpiSession::AddControlError(const TControlResult& r) {
  switch (r.status) {
    case TControlStatus::Ok:
      return;
    case TControlStatus::Busy:
    case TControlStatus::WrongState:
      AddError(kScpiSettingsConflict, r.error);
      return;
    case TControlStatus::InvalidValue:
      AddError(kScpiOutOfRange, r.error);
      return;
    case TControlStatus::NotWritable:
      AddError(kScpiFileNameError, r.error);
      return;
    case TControlStatus::Failed:
      AddError(kScpiExecutionError, r.error);
      return;
  }
}

QList<QPair<QString, QVariant>> TScpiSession::MeasuredValues() const {
  const std::optional<TScpiMeasured> m = source_ ? source_() : std::nullopt;
  if (!m) return {};
  return ResultRecordValues(m->record);
}

void TScpiSession::Measured(TCall& c, const QStringList& keys) {
  const QList<QPair<QString, QVariant>> values = MeasuredValues();
  if (values.isEmpty()) {
    AddError(kScpiExecutionError, kNoMeasuredData);
    return;
  }
  QStringList out;
  for (const auto& [key, value] : values)
    if (keys.isEmpty() || keys.contains(key)) out << ValueText(value);
  c.Answer(out.join(QChar(',')));
}

bool TScpiSession::Waiting() {
  if (pending_.runStart && (!control_.Running() || control_.FramesAccepted() > 0))
    pending_.runStart = false;
  if (pending_.runEnd && !control_.Running()) pending_.runEnd = false;
  return pending_.runStart || pending_.runEnd;
}

bool TScpiSession::RunUnit(const QByteArray& text) {
  const TScpiUnit u = ParseScpiUnit(text);
  // A unit that cannot be read, or names nothing of the tree, ends its line: what follows it
  // cannot be known to mean what it says.
  if (u.error != kScpiNoError) {
    AddError(u.error);
    units_.clear();
    return true;
  }
  QStringList full = u.path;
  if (!u.common && !u.rooted) full = path_ + u.path;
  const TEntry* entry = nullptr;
  bool otherForm = false;
  for (const TEntry& e : Tree()) {
    if (!e.pattern.Matches(full)) continue;
    if (e.query == u.query) {
      entry = &e;
      break;
    }
    otherForm = true;
  }
  if (!entry) {
    AddError(otherForm ? kScpiCommandError : kScpiUndefinedHeader);
    units_.clear();
    return true;
  }
  if (!u.common) path_ = full.mid(0, full.size() - 1);
  const int n = int(u.params.size());
  if (n < entry->minParams || n > entry->maxParams) {
    AddError(n < entry->minParams ? kScpiMissingParam : kScpiParamNotAllowed);
    units_.clear();
    return true;
  }
  TCall call{u, QString(), false, false};
  entry->run(*this, call);
  if (call.wait) return false;
  if (call.answered) answers_ << call.answer;
  return true;
}

void TScpiSession::EndLine() {
  inLine_ = false;
  if (!answers_.isEmpty() && Send) Send(answers_.join(QChar(';')).toUtf8() + '\n');
  answers_.clear();
}

void TScpiSession::Feed(const QByteArray& bytes) {
  lines_.Feed(bytes);
  Process();
}

void TScpiSession::Process() {
  // A command that handles events (a tune, a file) may let this client's next bytes in: they
  // wait for the line in progress.
  if (processing_) return;
  processing_ = true;
  for (;;) {
    if (inLine_) {
      bool waits = false;
      while (!units_.empty()) {
        const QByteArray unit = units_.front();
        units_.pop_front();
        if (!RunUnit(unit)) {
          units_.push_front(unit);
          waits = true;
          break;
        }
      }
      if (waits) break;
      EndLine();
    }
    if (CanSend && !CanSend()) break;
    if (!lines_.HasLine()) break;
    TScpiLineSplitter::TLine line = lines_.TakeLine();
    if (line.overrun) {
      AddError(kScpiInputOverrun);
      continue;
    }
    const std::vector<QByteArray> units = SplitScpiUnits(line.text);
    units_.assign(units.begin(), units.end());
    answers_.clear();
    path_.clear();
    inLine_ = true;
  }
  processing_ = false;
}

}  // namespace qz
