#pragma once
// What happens in the program that tool windows follow: each window subscribes to the events it
// shows, so the frame window relays nothing. The events are told on the program's thread and
// reach their subscribers at once (direct connections).

#include <QObject>
#include <QString>
#include <cstdint>

#include "core/records.h"

namespace qz {

class TProgramEvents : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;

 signals:
  // The plane extension, or the bilinear transform, was changed, loaded or cleared.
  void PlaneExtChanged();
  void TransformChanged();
  // A result outside the measurement cycle (a single shot, a scenario step) is to be shown.
  void ResultShown(const THresults& res);
  // The tuner's stubs were moved, or their positions were read (code: the command's outcome).
  void StubsMoved();
  void StubsRead(int32_t code);
  // The autotune button's state changed.
  void AtButtonChanged(bool on);
  // The tuner description, or an autotune parameter the areas depend on, changed.
  void TunerDescrChanged();
  // The model was applied; useChart: its load comes from the reflection chart.
  void ModelApplied(bool useChart);
  // The operator closed the reflection chart.
  void ChartClosedByOperator();
  // The scenario window was shown or hidden, or is asked to be.
  void ScenarioShown(bool shown);
  void ScenarioRequested(bool show);
  // The scenario window chose a scenario file for the generator.
  void ScenarioPathChosen(const QString& path);
  // A user setup was loaded; the unit was started.
  void SetupLoaded();
  void UnitStarted();
};

}  // namespace qz
