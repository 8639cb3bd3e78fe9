#pragma once
// The texts the write procedure puts into a log: the header, the data line of one result and
// the parts of the end record that describe the analyzer, the program and the setup. The frame
// window supplies them (TQvLogText over its analyzer state); the log adds the comment, the
// start and stop times and its own settings block.

#include <QChar>
#include <QDateTime>
#include <QString>
#include <cstdint>

#include "core/onesweep.h"
#include "core/records.h"
#include "core/resultstext.h"
#include "util/formatbytes.h"

namespace qz {

class TQvWin;

class TLogWriteProc {
 public:
  virtual ~TLogWriteProc() = default;
  // The column header line (no line end).
  virtual QString Header() const = 0;
  // The data line of a result for record number recordNumber + 1 (no line end).
  virtual QString DataLine(const THresults& res, int32_t recordNumber, double seconds, QChar decSep,
                           const QDateTime& now) const = 0;
  // The same data line as UTF-8 bytes appended to out (the log's own write path, once per
  // result).
  virtual void AppendDataLine(QByteArray& out, const THresults& res, int32_t recordNumber,
                              double seconds, const TDecSepBytes& sep, const QDateTime& now) const {
    out += DataLine(res, recordNumber, seconds, sep.sep(), now).toUtf8();
  }
  // The program, program file and unit description (starts with CR LF, no line end).
  virtual QString SaveTxtInfo() const = 0;
  // The setup stamp, every line ended by CR LF.
  virtual QString Stamp() const = 0;
  // A CSV log: the description lines of its start ("# key: value" + CR LF, core/resultscsv.h)
  // and the row of a result for record number recordNumber + 1, with its CR LF.
  virtual QString CsvDescription(int64_t startUtcMs, const QString& comment) const {
    (void)startUtcMs;
    (void)comment;
    return QString();
  }
  virtual void AppendCsvRow(QByteArray& out, const THresults& res, int32_t recordNumber,
                            const TSwpStamp& stamp) const {
    (void)out;
    (void)res;
    (void)recordNumber;
    (void)stamp;
  }
};

// The analyzer state's texts: millimetre form of the tuner columns.
class TQvLogText : public TLogWriteProc {
 public:
  TQvLogText(const TQvWin& qv, const TTunerDescr& tu, TProgramInfo program)
      : qv_(qv), tu_(tu), program_(std::move(program)) {}
  QString Header() const override;
  QString DataLine(const THresults& res, int32_t recordNumber, double seconds, QChar decSep,
                   const QDateTime& now) const override;
  void AppendDataLine(QByteArray& out, const THresults& res, int32_t recordNumber, double seconds,
                      const TDecSepBytes& sep, const QDateTime& now) const override;
  QString SaveTxtInfo() const override;
  QString Stamp() const override;
  QString CsvDescription(int64_t startUtcMs, const QString& comment) const override;
  void AppendCsvRow(QByteArray& out, const THresults& res, int32_t recordNumber,
                    const TSwpStamp& stamp) const override;

 private:
  const TQvWin& qv_;
  const TTunerDescr& tu_;
  TProgramInfo program_;
};

}  // namespace qz
