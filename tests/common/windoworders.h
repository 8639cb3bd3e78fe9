#pragma once
// The orders of the window program's tool windows, by setup section: creation at the program
// start, creation once the unit has started, creation on demand, the setup's write and load
// orders, the View menu and the destruction at exit. These are the orders operators' setup
// files were written in; a registration that moves a window out of them fails the tests.

#include <QStringList>

namespace qz::testing {

inline const QStringList kFrameStartOrder = {
    "RhoChart",  "PowCalDlg", "LogForm", "TracePropDlg", "ScaleDlg",     "AboutBox", "QzSmallFrm",
    "QzResForm", "TrgForm",   "Model",   "MakeSce",      "TxTimingForm", "MstpForm"};
inline const QStringList kUnitStartOrder = {"TuStpFrm", "QzSamplForm", "TunPic", "TuScenarioForm"};
inline const QStringList kOnDemandOrder = {"HelpViewer"};
inline const QStringList kWriteOrder = {
    "QzResForm", "QzSmallFrm",  "LogForm",      "TuStpFrm", "TrgForm",
    "MstpForm",  "QzSamplForm", "TxTimingForm", "TunPic",   "TuScenarioForm",
    "Model",     "RhoChart",    "MakeSce"};
inline const QStringList kLoadOrder = {"QzResForm",    "QzSmallFrm", "LogForm",       "QzSamplForm",
                                       "TxTimingForm", "TuStpFrm",   "Model",         "RhoChart",
                                       "MakeSce",      "TunPic",     "TuScenarioForm"};
inline const QStringList kViewOrder = {"QzSmallFrm", "QzResForm", "TuStpFrm", "LogForm", "TrgForm"};
// On demand first, then the windows of the started unit and those of the program start, each
// group the later before the earlier.
inline const QStringList kDestroyOrder = {
    "HelpViewer",   "TuScenarioForm", "TunPic",       "QzSamplForm", "TuStpFrm",  "MstpForm",
    "TxTimingForm", "MakeSce",        "Model",        "TrgForm",     "QzResForm", "QzSmallFrm",
    "AboutBox",     "ScaleDlg",       "TracePropDlg", "LogForm",     "PowCalDlg", "RhoChart"};

}  // namespace qz::testing
