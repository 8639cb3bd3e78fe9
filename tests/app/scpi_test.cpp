// The instrument socket's language on a fake port, without any socket: every command of the
// tree in its short, long and mixed-case forms (optional nodes with and without), the answers
// of a line, the header path after ";", the errors and their queue, the event status bits,
// *OPC?/*WAI waiting for that client alone, and the cutting of lines.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <functional>
#include <vector>

#include "app/scpiserver.h"
#include "app/scpitree.h"
#include "common/fakecontrolport.h"
#include "common/sampleresult.h"
#include "version.h"

namespace qz {
namespace {

using ::testing::_;
using ::testing::NiceMock;
using testing::TFakeControlPort;

// The shared sample result as a frame (2450 MHz, 0.25 at 30° in, 0.75 at −60° at the load,
// 1000/62.5/937.5 W), its temperature moved off the input phase's 30 so that every value has a
// short form of its own.
TScpiMeasured SampleFrame() {
  TScpiMeasured m;
  TResultRecord& r = m.record;
  r.frame = 42;
  r.run = 3;
  r.time = QStringLiteral("2026-12-10T14:03:27.481Z");
  TakeMeasuredValues(r, testing::SampleResult());
  r.temp_C = 25.5;
  r.stub_mm = {1.5, 2.25, 0.0};
  r.status = 60;
  r.error = 2;
  r.motor_status = 119;
  r.motor_error = 1;
  m.item =
      QStringLiteral("60,2,2450.000,0.250,30.0,0.750,-60.0,1000,62.5,25.5,1.50,2.25,0.00,119,1");
  return m;
}

// A session over a fake port; what it sends is collected line by line.
struct TRig {
  NiceMock<TFakeControlPort> port;
  TControl control{port};
  std::optional<TScpiMeasured> frame = SampleFrame();
  int64_t frames = 0;
  std::vector<std::function<void()>> deferred;
  TScpiSession session{control, [this] { return frame; }};
  QStringList sent;
  bool canSend = true;
  QTemporaryDir dir;

  TRig() {
    ON_CALL(port, FramesAccepted()).WillByDefault([this] { return frames; });
    session.Send = [this](const QByteArray& b) {
      EXPECT_TRUE(b.endsWith('\n')) << b.constData();
      sent << QString::fromUtf8(b.chopped(1));
    };
    session.CanSend = [this] { return canSend; };
  }
  void DeferTasks() {
    control.Defer = [this](std::function<void()> t) { deferred.push_back(std::move(t)); };
  }
  void RunDeferred() {
    auto tasks = std::move(deferred);
    deferred.clear();
    for (auto& t : tasks) t();
  }
  QStringList Send(const QString& line) {
    sent.clear();
    session.Feed((line + QStringLiteral("\n")).toUtf8());
    return sent;
  }
  // The next entry of the error queue as SYST:ERR? answers it.
  QString NextError() { return Send(QStringLiteral("SYST:ERR?")).value(0); }
  int NextErrorCode() { return NextError().section(QChar(','), 0, 0).toInt(); }
};

QString Identity() { return QStringLiteral("Vostrel,QzSim,0," QZ_VERSION); }

struct TRow {
  QStringList forms;  // short, long, mixed case, with and without optional nodes
  QString answer;     // the line's answer; empty: none
  int actions;        // commands the port carried out
  std::function<void(TRig&)> before = {};
};

TEST(ScpiTree, EveryCommandInItsShortLongAndMixedCaseForms) {
  const std::vector<TRow> rows = {
      {{"*IDN?", "*idn?"}, Identity(), 0},
      {{"*RST", "*rst"}, "", 1, [](TRig& r) { r.port.running = true; }},
      {{"*CLS", "*Cls"}, "", 0},
      {{"*ESR?", "*esr?"}, "0", 0},
      {{"*OPC?", "*opc?"}, "1", 0},
      {{"*WAI", "*wai"}, "", 0},
      {{"INIT", "INITIATE", "Init:Imm", "INITiate:IMMediate", "initiate:immediate"}, "", 1},
      {{"ABOR", "ABORT", "aBoRt"}, "", 1, [](TRig& r) { r.port.running = true; }},
      {{"ABOR", "abort"}, "", 0},  // idle: nothing to end, no error
      {{"INIT:STAT?", "INITIATE:STATE?", "init:State?"},
       "1",
       0,
       [](TRig& r) { r.port.running = true; }},
      {{"INIT:STAT?"}, "0", 0},
      {{"MEAS:GAMM?", "MEAS:GAMM:INP?", "MEASURE:GAMMA?", "MEASURE:GAMMA:INPUT?",
        "meas:gamma:inp?"},
       "0.25,30",
       0},
      {{"MEAS:GAMM:LOAD?", "MEASURE:GAMMA:LOAD?", "Meas:Gamm:Load?"}, "0.75,-60", 0},
      {{"MEAS:POW?", "MEAS:POW:INC?", "MEASURE:POWER:INCIDENT?", "measure:power?"}, "1000", 0},
      {{"MEAS:POW:REFL?", "MEASURE:POWER:REFLECTED?", "meas:pow:reflected?"}, "62.5", 0},
      {{"MEAS:POW:ABS?", "MEASURE:POWER:ABSORBED?", "meas:POW:abs?"}, "937.5", 0},
      {{"MEAS:FREQ?", "MEASURE:FREQUENCY?", "meas:Freq?"}, "2.45e+09", 0},
      {{"MEAS:TEMP?", "MEASURE:TEMPERATURE?", "meas:temp?"}, "25.5", 0},
      {{"MEAS:STUB?", "MEASURE:STUBS?", "meas:stubs?"}, "1.5,2.25,0", 0},
      {{"MEAS:FRAM?", "MEASURE:FRAME?", "meas:frame?"}, "42", 0},
      {{"MEAS:ALL?", "MEASURE:ALL?", "meas:all?"},
       "42,3,\"2026-12-10T14:03:27.481Z\",2.45e+09,0.25,30,0.75,-60,1000,62.5,937.5,25.5,"
       "1.5,2.25,0,60,2,119,1",
       0},
      {{"MEAS:ITEM?", "MEASURE:ITEM?", "meas:item?"}, SampleFrame().item, 0},
      {{"SOUR:LOAD 0.5,90", "SOURCE:LOAD 0.5, 90", "sour:load +5E-1,90.0"}, "", 1},
      {{"SOUR:VAL RUncert,0", "SOURCE:VALUE \"RUncert\",\"0\"", "sour:val runcert, 0"}, "", 1},
      {{"SOUR:VAL? RhoMag", "SOURCE:VALUE? \"RhoMag\"", "sour:value? rhomag"},
       "\"0.75\"",
       0,
       [](TRig& r) { r.port.entries.Mag = "0.75"; }},
      {{"TUNE:AUTO?", "tune:auto?"}, "0,\"No error\"", 1},
      {{"TUNE:MOVE? 1,2,3", "tune:move? 1, 2, 3"}, "0,\"No error\"", 1},
      {{"MMEM:LOAD:SET \"a.stp\"", "MMEMORY:LOAD:SETUP 'a.stp'", "mmem:load:setup \"a.stp\""},
       "",
       1},
      {{"MMEM:STOR:SET \"@/s.stp\"", "MMEMORY:STORE:SETUP \"@/s.stp\",\"comment\"",
        "mmem:stor:setup '@/s.stp'"},
       "",
       1},
      {{"MMEM:STOR:RES \"@/r.txt\"", "MMEMORY:STORE:RESULTS \"@/r.txt\",\"c\"",
        "mmem:store:res \"@/r.txt\""},
       "",
       1},
      {{"MMEM:STOR:CSV \"@/r.csv\"", "MMEMORY:STORE:CSV \"@/r.csv\",\"c\"",
        "mmem:stor:csv \"@/r.csv\""},
       "",
       1},
      {{"MMEM:STOR:CHAR \"@/c.png\",SMITH", "MMEMORY:STORE:CHART \"@/c.png\",\"SMITH\",330,220",
        "mmem:stor:chart \"@/c.png\",smith,330"},
       "",
       1},
      {{"SYST:ERR?", "SYST:ERR:NEXT?", "SYSTEM:ERROR?", "system:error:next?"}, "0,\"No error\"", 0},
      {{"SYST:QUIT", "SYSTEM:QUIT 0", "syst:quit 1", "System:Quit ON"}, "", 1},
  };
  for (const TRow& row : rows) {
    for (const QString& form : row.forms) {
      TRig r;
      ASSERT_TRUE(r.dir.isValid());
      int charts = 0;
      r.control.ChartSaver = [&](const QString&, const QString&, uint32_t, uint32_t) {
        ++charts;
        return TChartResult{};
      };
      if (row.before) row.before(r);
      QString line = form;
      line.replace(QStringLiteral("@"), r.dir.path());
      const QStringList got = r.Send(line);
      EXPECT_EQ(got.join("|"), row.answer) << line.toStdString();
      EXPECT_EQ(r.port.actions + charts, row.actions) << line.toStdString();
      EXPECT_EQ(r.NextError(), "0,\"No error\"") << line.toStdString();
    }
  }
}

TEST(ScpiTree, CommandsReachTheControlWithTheirValues) {
  TRig r;
  ASSERT_TRUE(r.dir.isValid());
  EXPECT_CALL(r.port, MoveStubs(std::array<int, 3>{100, 200, 300})).WillOnce(::testing::Return(0));
  EXPECT_CALL(r.port, LoadSetup(QString("a b.stp"), _, _)).WillOnce(::testing::Return(true));
  EXPECT_CALL(r.port, SaveSetup(r.dir.filePath("s.stp"), QString("it's \"mine\""), _))
      .WillOnce(::testing::Return(true));
  EXPECT_CALL(r.port, Quit(true));
  QString chartType;
  uint32_t w = 0, h = 0;
  r.control.ChartSaver = [&](const QString& type, const QString&, uint32_t cw, uint32_t ch) {
    chartType = type;
    w = cw;
    h = ch;
    return TChartResult{};
  };
  EXPECT_EQ(r.Send("TUNE:MOVE? 1,2,3"), QStringList{"0,\"No error\""});
  r.Send("MMEM:LOAD:SET \"a b.stp\"");
  r.Send("MMEM:STOR:SET \"" + r.dir.filePath("s.stp") + "\",'it''s \"mine\"'");
  r.Send("MMEM:STOR:CHAR \"" + r.dir.filePath("c.png") + "\",VSWR,640,480");
  EXPECT_EQ(chartType, "VSWR");
  EXPECT_EQ(w, 640u);
  EXPECT_EQ(h, 480u);
  r.Send("SYST:QUIT 1");
  EXPECT_EQ(r.NextError(), "0,\"No error\"");
}

TEST(ScpiTree, TheErrorSequenceOfBadUnits) {
  TRig r;
  for (const char* line : {"FOO", "MEAS:FREQ? 1", "SOUR:LOAD 0.5", "SOUR:LOAD 1.5,0",
                           "SOUR:LOAD x,0", "MEAS:FREQ", "SOUR:VAL \"a"})
    EXPECT_TRUE(r.Send(line).isEmpty()) << line;
  QList<int> codes;
  QStringList texts;
  for (int i = 0; i < 8; ++i) {
    const QString e = r.NextError();
    codes << e.section(QChar(','), 0, 0).toInt();
    texts << e;
  }
  EXPECT_EQ(codes, (QList<int>{-113, -108, -109, -222, -104, -100, -102, 0}));
  EXPECT_EQ(texts[0], "-113,\"Undefined header\"");
  // The control's own text after ";".
  EXPECT_EQ(texts[3], "-222,\"Data out of range;The magnitude must be from 0 to 1, not 1.5.\"");
  EXPECT_EQ(r.port.actions, 0);
}

TEST(ScpiTree, AFullQueueEndsInQueueOverflow) {
  for (const int bad : {19, 20, 21, 25}) {
    TRig r;
    for (int i = 0; i < bad; ++i) r.Send("FOO");
    QList<int> codes;
    for (int i = 0; i < 22; ++i) codes << r.NextErrorCode();
    QList<int> want;
    const int kept = std::min(bad, 20);
    for (int i = 0; i < kept; ++i) want << -113;
    if (bad > 20) want.back() = -350;
    while (want.size() < 22) want << 0;
    EXPECT_EQ(codes, want) << bad;
  }
}

TEST(ScpiTree, ALineAnswersOnceAndTheHeaderPathCarriesOverSemicolons) {
  const std::vector<std::pair<QString, QString>> rows = {
      {"*IDN?;*OPC?;MEAS:FRAM?", Identity() + ";1;42"},
      {"MEAS:GAMM:LOAD?;INP?", "0.75,-60;0.25,30"},  // MEAS:GAMM:INP?
      {"MEAS:POW:REFL?;ABS?;INC?", "62.5;937.5;1000"},
      {"MEAS:FREQ?;:MEAS:TEMP?", "2.45e+09;25.5"},
      {"MEAS:FREQ?;TEMP?", "2.45e+09;25.5"},
      {"SOUR:LOAD 0.5,90;*IDN?;VAL? RhoMag", Identity() + ";\"0.5\""},  // common: path kept
      {"  *IDN?  ;  ", Identity()},
      {"MEAS:FREQ?\r", "2.45e+09"},
      {"", ""},
  };
  for (const auto& [line, answer] : rows) {
    TRig r;
    ON_CALL(r.port, EditModel(_)).WillByDefault([&r](const std::function<void(TMdlPresenter&)>&) {
      r.port.entries.Mag = "0.5";
    });
    EXPECT_EQ(r.Send(line).join("|"), answer) << line.toStdString();
    EXPECT_EQ(r.NextErrorCode(), 0) << line.toStdString();
  }
  // After MEAS:POW? the path is MEAS: REFL? is no command of MEAS.
  TRig r;
  EXPECT_EQ(r.Send("MEAS:POW?;REFL?").join("|"), "1000");
  EXPECT_EQ(r.NextErrorCode(), -113);
}

TEST(ScpiTree, AFailedQueryAnswersNothingAndReadingsAreNeverRefused) {
  TRig r;
  r.frame.reset();
  EXPECT_EQ(r.Send("*IDN?;MEAS:FREQ?;*OPC?").join("|"), Identity() + ";1");
  EXPECT_EQ(r.NextError(), "-200,\"Execution error;No measured data available\"");
  EXPECT_TRUE(r.Send("MEAS:ITEM?").isEmpty());
  EXPECT_EQ(r.NextErrorCode(), -200);

  TRig busy;
  busy.port.dialog = true;
  busy.port.entries.Mag = "0.75";
  EXPECT_EQ(busy.Send("MEAS:FREQ?;:SOUR:VAL? RhoMag;:INIT:STAT?").join("|"), "2.45e+09;\"0.75\";0");
  EXPECT_TRUE(busy.Send("TUNE:AUTO?").isEmpty());
  EXPECT_EQ(busy.NextError(), "-221,\"Settings conflict;busy: a dialog is open\"");
  busy.port.dialog = false;
  busy.port.running = true;
  ASSERT_TRUE(busy.dir.isValid());
  busy.Send("MMEM:STOR:RES \"" + busy.dir.filePath("r.txt") + "\"");
  EXPECT_EQ(busy.NextError(), "-221,\"Settings conflict;busy: running\"");
  busy.Send("INIT");
  EXPECT_EQ(busy.NextError(), "-213,\"Init ignored;running\"");
  busy.Send("SOUR:VAL NoSuchKey,1");
  EXPECT_EQ(busy.NextErrorCode(), -222);
  busy.Send("SOUR:VAL? NoSuchKey");
  EXPECT_EQ(busy.NextErrorCode(), -222);
  busy.Send("MMEM:STOR:CHAR \"x.png\",SMITH,-1");
  EXPECT_EQ(busy.NextErrorCode(), -222);
  EXPECT_EQ(busy.port.actions, 0);
}

TEST(ScpiTree, EventStatusBitsThreeToFive) {
  TRig r;
  EXPECT_EQ(r.Send("*ESR?"), QStringList{"0"});
  r.Send("FOO");
  EXPECT_EQ(r.Send("*ESR?"), QStringList{"32"});
  EXPECT_EQ(r.Send("*ESR?"), QStringList{"0"});  // read and cleared
  r.Send("SOUR:LOAD 2,0");
  EXPECT_EQ(r.Send("*ESR?"), QStringList{"16"});
  r.session.Feed(QByteArray(kScpiMaxLine + 1, 'A') + "\n");
  r.Send("FOO");
  EXPECT_EQ(r.Send("*ESR?"), QStringList{"40"});
  r.Send("*CLS");
  EXPECT_EQ(r.NextErrorCode(), 0);
}

TEST(ScpiTree, OpcWaitsForTheRunsFirstFrameAndItsEndForThatClientAlone) {
  TRig r;
  r.DeferTasks();
  ON_CALL(r.port, RunPause()).WillByDefault([&r] { r.port.running = !r.port.running; });
  TScpiSession other(r.control, [] { return std::optional<TScpiMeasured>(); });
  QStringList otherSent;
  other.Send = [&](const QByteArray& b) { otherSent << QString::fromUtf8(b.chopped(1)); };

  EXPECT_TRUE(r.Send("INIT;*OPC?").isEmpty());
  EXPECT_TRUE(r.session.Waiting());
  EXPECT_TRUE(r.Send("*IDN?").isEmpty());  // the later lines wait
  other.Feed("*IDN?\n");
  EXPECT_EQ(otherSent, QStringList{Identity()});

  r.RunDeferred();  // the run begins, no frame yet
  EXPECT_TRUE(r.port.running);
  r.session.Process();
  EXPECT_TRUE(r.sent.isEmpty());
  r.frames = 1;
  r.session.Process();
  EXPECT_EQ(r.sent, (QStringList{"1", Identity()}));

  r.sent.clear();
  ON_CALL(r.port, RunPause()).WillByDefault([] {});  // the end is asked for, not there yet
  r.session.Feed("ABOR;*WAI;MEAS:FRAM?\n");
  EXPECT_TRUE(r.sent.isEmpty());
  r.port.running = false;
  r.session.Process();
  EXPECT_EQ(r.sent, QStringList{"42"});

  // A run that ends before its first frame also ends the wait.
  r.sent.clear();
  r.frames = 0;
  r.session.Feed("INIT;*OPC?\n");
  EXPECT_TRUE(r.control.Pause().ok());  // another client's ABORt
  r.session.Process();
  EXPECT_EQ(r.sent, QStringList{"1"});
}

TEST(ScpiTree, AClientThatDoesNotReadHoldsItsLines) {
  TRig r;
  r.canSend = false;
  r.session.Feed("*IDN?\n*OPC?\n");
  EXPECT_TRUE(r.sent.isEmpty());
  EXPECT_GT(r.session.QueuedBytes(), 0);
  r.canSend = true;
  r.session.Process();
  EXPECT_EQ(r.sent, (QStringList{Identity(), "1"}));
}

TEST(ScpiLines, LineEndsLengthsAndOverruns) {
  struct TCase {
    QByteArray bytes;
    QList<QByteArray> lines;  // "!" for an overrun line
  };
  const QByteArray max(kScpiMaxLine, 'a');
  const std::vector<TCase> cases = {
      {"A\nB\r\nC", {"A", "B"}},
      {"\n\r\n", {"", ""}},
      {"A\rB\n", {"A\rB"}},
      {max + "\n", {max}},
      {max + "\r\n", {max}},
      {max + "a\n*IDN?\n", {"!", "*IDN?"}},
      {max + "\rx\n", {"!"}},
      {QByteArray(10 * 1024, 'x') + "\nMEAS:FREQ?\n", {"!", "MEAS:FREQ?"}},
  };
  for (const TCase& c : cases) {
    // Whole, and a byte at a time.
    for (const bool bytewise : {false, true}) {
      TScpiLineSplitter s;
      if (bytewise)
        for (const char b : c.bytes) s.Feed(&b, 1);
      else
        s.Feed(c.bytes);
      QList<QByteArray> got;
      while (s.HasLine()) {
        const TScpiLineSplitter::TLine l = s.TakeLine();
        got << (l.overrun ? QByteArray("!") : l.text);
      }
      EXPECT_EQ(got, c.lines) << c.bytes.left(40).constData() << " bytewise " << bytewise;
      EXPECT_EQ(s.QueuedBytes(), 0);
    }
  }
}

TEST(ScpiLines, AnOverrunLineIsAnErrorAndTheNextLineIsAnswered) {
  TRig r;
  r.session.Feed(QByteArray(10 * 1024, 'x') + "\n*IDN?\n");
  EXPECT_EQ(r.sent, QStringList{Identity()});
  EXPECT_EQ(r.NextError(), "-363,\"Input buffer overrun\"");
  // A megabyte of random bytes: whatever it holds is answered or refused, and the session goes
  // on answering.
  QByteArray noise(1024 * 1024, 0);
  QRandomGenerator gen(37);
  for (char& b : noise) b = char(gen.bounded(256));
  r.session.Feed(noise);
  r.Send("");
  r.Send("*CLS");
  EXPECT_EQ(r.Send("*IDN?"), QStringList{Identity()});
}

TEST(ScpiParse, UnitsParametersAndNumbers) {
  TScpiUnit u = ParseScpiUnit("SOUR:VAL 'it''s',\"a;b\" , -1.5e3,key");
  EXPECT_EQ(u.error, 0);
  EXPECT_EQ(u.path, (QStringList{"SOUR", "VAL"}));
  ASSERT_EQ(u.params.size(), 4u);
  EXPECT_EQ(u.params[0].text, "it's");
  EXPECT_EQ(u.params[1].text, "a;b");
  EXPECT_EQ(u.params[2].kind, TScpiParam::Number);
  EXPECT_EQ(u.params[2].number, -1500.0);
  EXPECT_EQ(u.params[3].kind, TScpiParam::Chars);
  for (const char* bad : {"SOUR:LOAD 1,", "SOUR:LOAD ,1", "SOUR:LOAD 1 2", "MEAS::FREQ?", "1MEAS?",
                          "SOUR:LOAD 1e", "SOUR:VAL \"a", "SOUR:LOAD 0x10", ":", "*?"})
    EXPECT_EQ(ParseScpiUnit(bad).error, kScpiSyntaxError) << bad;
  EXPECT_EQ(SplitScpiUnits("A;'x;y';\"p;q\";;B"),
            (std::vector<QByteArray>{"A", "'x;y'", "\"p;q\"", "B"}));

  for (const double v : {0.5, 90.0, 2.45e9, 0.1 + 0.2, 1e-5, -123.456, 0.0, 6001.0, 1.0 / 3.0}) {
    const QString t = ScpiNumber(v);
    EXPECT_EQ(t.toDouble(), v) << t.toStdString();
  }
  EXPECT_EQ(ScpiNumber(0.5), "0.5");
  EXPECT_EQ(ScpiNumber(90.0), "90");
  EXPECT_EQ(ScpiNumber(2.45e9), "2.45e+09");
  EXPECT_EQ(ScpiNumber(std::nan("")), "9.9e+37");
  EXPECT_EQ(ScpiString("say \"hi\""), "\"say \"\"hi\"\"\"");
}

TEST(ScpiAddress, TheCommandLinesAddressAndPort) {
  struct TCase {
    const char* text;
    bool ok;
    const char* address;
    int port;
  };
  for (const TCase& c : std::vector<TCase>{{"5025", true, "127.0.0.1", 5025},
                                           {"0", true, "127.0.0.1", 0},
                                           {"0.0.0.0:80", true, "0.0.0.0", 80},
                                           {"192.168.1.7:5025", true, "192.168.1.7", 5025},
                                           {"[::1]:5025", true, "::1", 5025},
                                           {"localhost:5025", false, "", 0},
                                           {"65536", false, "", 0},
                                           {"-1", false, "", 0},
                                           {"abc", false, "", 0},
                                           {"", false, "", 0},
                                           {"[::1]5025", false, "", 0}}) {
    QString address, error;
    int port = -1;
    EXPECT_EQ(ParseScpiAddress(c.text, address, port, error), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(address, c.address) << c.text;
      EXPECT_EQ(port, c.port) << c.text;
    } else {
      EXPECT_TRUE(error.startsWith("--scpi needs")) << error.toStdString();
    }
  }
}

}  // namespace
}  // namespace qz
