#include "app/ui/helprequests.h"

#include <QObject>
#include <QVariant>

#include "app/helppages.h"
#include "app/simcore.h"
#include "app/toolwindows.h"
#include "app/xfercmds.h"
#include "comm/dlgcomportmodel.h"
#include "display/ui/gdisplform.h"
#include "display/ui/rhochart.h"
#include "results/logsettings.h"
#include "results/ui/logform.h"
#include "results/ui/qzresform.h"
#include "results/ui/qzsmallfrm.h"
#include "setupdlg/powcalmodel.h"
#include "setupdlg/trgcmds.h"
#include "setupdlg/ui/mstpform.h"
#include "setupdlg/ui/qzsamplform.h"
#include "setupdlg/ui/txtimingform.h"
#include "sim/mdlentries.h"
#include "sim/ui/qzmdl.h"
#include "tuner/scestp.h"
#include "tuner/tpicstp.h"
#include "tuner/ui/makesce.h"
#include "tuner/ui/qvtustpfrm.h"
#include "tuner/ui/scenario.h"
#include "tuner/ui/tpic.h"

namespace qz {

namespace {

QString L(const char* s) { return QString::fromLatin1(s); }

THelpRequest Row(const QString& origin, const QString& caption, const char* how, int topic,
                 const QString& keyword, THelpAction action, const char* page,
                 const char* anchor = "") {
  THelpRequest r;
  r.origin = origin;
  r.caption = caption;
  r.how = L(how);
  r.topic = topic;
  r.keyword = keyword;
  r.action = action;
  r.page = L(page);
  r.anchor = L(anchor);
  return r;
}

std::vector<THelpRequest> MakeRows() {
  using A = THelpAction;
  const QString none;
  return {
      Row(L(kHelpOriginContents), QStringLiteral("Contents"), "menu", kHelpContentsTopic, none,
          A::Open, "index"),
      Row(L(kFormSection), QStringLiteral("QzmSoft - Simulation"), "F1", 0, L(kHelpFrameKeyword),
          A::Open, "frame-window"),
      Row(QStringLiteral("AboutBox"), QStringLiteral("About QzmSoft"), "F1", 0, none, A::Open,
          "frame-window", "about"),
      Row(L(kHelpOriginTools), QStringLiteral("Send to Quzar"), "menu F1", kXferHelpTopic, none,
          A::Open, "file-transfer"),
      Row(L(kMdlSection), QStringLiteral("Quzar Model"), "btHelp, F1", kMdlHelpContext,
          QStringLiteral("Quzar Model Window"), A::Open, "model"),
      Row(L(kTpicSection), QStringLiteral("Tuner View"), "sbHelp, F1", kTpicHelpTopic, none,
          A::Open, "tuner-view"),
      Row(L(kScenarioSection), QStringLiteral("Scenario"), "sbHelp, F1", kScenarioHelpTopic, none,
          A::Open, "scenario"),
      Row(L(kMakeSceSection), QStringLiteral("Create Scenario"), "btHelp, F1", kMakeSceHelpTopic,
          none, A::Open, "scenario-generator"),
      Row(L(kTuStpSection), QStringLiteral("System Info"), "F1", 0, none, A::Open, "system-info"),
      Row(L(kResFormSection), QStringLiteral("Quzar Measurement Results"), "btHelp, F1", 0,
          L(kResHelpTopic), A::Open, "results-windows"),
      Row(L(kLogSection), L(kLogFormCaption), "btHelp, F1", 0, L(kLogFormCaption), A::Open,
          "data-logging"),
      Row(L(kSamplFormSection), QStringLiteral("Quzar Sampling Setup"), "btHelp, F1",
          kSamplHelpTopic, none, A::Open, "sampling-setup"),
      Row(L(kTxTimingSection), QStringLiteral("TX Timing"), "btHelp, F1", kTxTimingHelpTopic,
          QStringLiteral("tx timing"), A::Open, "tx-timing"),
      // Its "Help" button answers "Info: Help cancelled"; F1 opens the page.
      Row(L(kMstpSection), QStringLiteral("CW Measurement Setup"), "F1", 0, none, A::Open,
          "measurement-setup"),
      Row(L(kTrgSection), L(kTrgCaption), "F1", 0, L(kTrgHelpKeyword), A::Open,
          "single-shot-commands"),
      Row(QStringLiteral("PowCalDlg"), L(kPowCalCaption), "btHelp, F1", kPowCalHelpTopic,
          QStringLiteral("power measurement calibration factor"), A::Open, "power-calibration"),
      Row(L(kHelpOriginComPort), QStringLiteral("COM Port Setting"), "bHelp, F1", 0,
          L(kComPortHelpKeyword), A::Open, "com-port"),
      Row(L(kHelpOriginLabels), QStringLiteral("Labels"), "Help", 0, L(kLabelsHelpKeyword), A::Open,
          "labels"),
      // The anchor is the window's present display type as --chart names it.
      Row(L(kHelpOriginDisplay), QStringLiteral("Display Window"), "F1", 0, none, A::Open, "charts",
          "*"),
      Row(QStringLiteral("ScaleDlg"), QStringLiteral("Chart Scaling"), "F1", 0, none, A::Open,
          "chart-dialogs", "scaling"),
      Row(QStringLiteral("TracePropDlg"), QStringLiteral("Trace Properties"), "F1", 0, none,
          A::Open, "chart-dialogs", "trace"),
      Row(QStringLiteral("HelpViewer"), QStringLiteral("QzSim Help"), "F1", 0, none, A::Open,
          "help-viewer"),
      // The key's only action in these two windows: the whole program goes out of the way.
      Row(L(kSmallFrmSection), QStringLiteral("Results (Mini)"), "F1", 0, none, A::Minimise,
          "results-windows", "mini"),
      Row(L(kRhoChartSection), QStringLiteral("Load Reflection Coefficient"), "F1", 0, none,
          A::Minimise, "reflection-chart"),
  };
}

}  // namespace

const std::vector<THelpRequest>& HelpRequests() {
  static const std::vector<THelpRequest> rows = MakeRows();
  return rows;
}

const THelpRequest* HelpRequestOf(const QString& origin) {
  for (const THelpRequest& r : HelpRequests())
    if (r.origin.compare(origin, Qt::CaseInsensitive) == 0) return &r;
  return nullptr;
}

const THelpRequest* HelpRequestForTopic(int topic) {
  if (topic <= 0) return nullptr;
  for (const THelpRequest& r : HelpRequests())
    if (r.topic == topic) return &r;
  return nullptr;
}

const THelpRequest* HelpRequestForKeyword(const QString& keyword) {
  const QString k = keyword.trimmed();
  if (k.isEmpty()) return nullptr;
  for (const THelpRequest& r : HelpRequests())
    if (!r.keyword.isEmpty() && r.keyword.compare(k, Qt::CaseInsensitive) == 0) return &r;
  return nullptr;
}

QString HelpPageFile(const THelpRequest& row) { return row.page + QStringLiteral(".html"); }

void MarkHelpRow(QObject* window, const QString& origin) {
  if (window) window->setProperty(kHelpRowProperty, origin);
}

QString HelpRowMark(const QObject* object) {
  return object ? object->property(kHelpRowProperty).toString() : QString();
}

}  // namespace qz
