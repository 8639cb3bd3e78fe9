#pragma once
// The reflection-coefficient chart "Load Reflection Coefficient": the operator's pad for the
// load of the simulation. A stay-on-top tool window, created once and hidden when closed: the
// square chart on the left (grid, the tuner's area borders, the marker of the chosen value) and
// the controls on its right.
//
// The window is thin: the chosen value, the marker, the areas and all drawing are TRhoPad's;
// the export's text and file are display/rhoexport's.

#include <QImage>
#include <QWidget>
#include <functional>

#include "charts/ui/imagecanvas.h"
#include "display/rhopad.h"
#include "util/winpos.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace qz {

class IniFile;
class TMdlEngine;
class TQvWin;
class TTunerModel;
class TRhoPanel;

inline constexpr const char* kRhoChartSection = "RhoChart";
// The chart's place: position and size, both kept 50 pixels inside the screen.
inline constexpr TPlaceRule kRhoChartPlaceRule{pkTop | pkLeft | pkWidth | pkHeight,
                                               kToolWindowMargin, 0, 0, kToolWindowMargin};

class TRhoChart : public QWidget {
  Q_OBJECT
 public:
  TRhoChart(TTunerModel& tuner, TMdlEngine& model, TQvWin& qv, QWidget* parent = nullptr);
  ~TRhoChart() override;

  // The chosen reflection coefficient.
  complex Rho() const { return pad_.MouseRho; }
  // While the window is shown: the area borders at the model's frequency, then a redraw.
  void PutWmark();

  // Section "RhoChart": place and size.
  void WriteStp(IniFile& ini) const;
  void ReadStp(const IniFile& ini);

  // The operator closed the window (the model then stops using the chart). Destroying the
  // window does not call it.
  std::function<void()> OnOperatorClose;

  // For tests and the frame window.
  TRhoPad& Pad() { return pad_; }
  const QImage& Image() const { return canvas_.Image(); }
  QWidget* ChartPanel() const;
  // The chart's pixel under the pointer chose a value (press, or a move while pressed).
  void PressAt(TPt p);
  void MoveTo(TPt p);
  void Release();
  void ApplyFields();
  void ExportClick();

 protected:
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  friend class TRhoPanel;
  void Build();
  void DoLayout();
  void WriteFields();
  void Chosen();
  void RadiusClicked(int idx);
  void AreaClicked();
  void EnableAreaControls();
  void Fetch();
  void Redraw();

  TTunerModel& tuner_;
  TMdlEngine& model_;
  TQvWin& qv_;
  TRhoPad pad_;
  TImageCanvas canvas_;
  bool layingOut_ = false;

  TRhoPanel* panel_ = nullptr;
  QWidget* side_ = nullptr;
  QButtonGroup* rgRadius_ = nullptr;
  QLineEdit* edMag_ = nullptr;
  QLineEdit* edDeg_ = nullptr;
  QToolButton* btApply_ = nullptr;
  QLabel* lbVswr_ = nullptr;
  QGroupBox* gbArea_ = nullptr;
  QButtonGroup* rgArea_ = nullptr;
  QGroupBox* gbPlane_ = nullptr;
  QButtonGroup* rgPlane_ = nullptr;
  QPushButton* btExport_ = nullptr;
};

}  // namespace qz
