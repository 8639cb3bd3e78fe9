#pragma once
// The about box: the program's name and version, its file, the unit's hardware and server
// description, the program's description and legal notice.

#include <QDialog>

#include "core/resultstext.h"

class QLabel;

namespace qz {

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);
  // Fills the box (the unit's texts are known once it has started).
  void Napln(const TAboutStrings& s);

  QLabel* ProgramLabel() const { return program_; }
  QLabel* FileLabel() const { return file_; }
  QLabel* UnitLabel() const { return unit_; }
  QLabel* DescriptionLabel() const { return descr_; }
  QLabel* LegalLabel() const { return legal_; }

 private:
  QLabel* program_ = nullptr;
  QLabel* file_ = nullptr;
  QLabel* unit_ = nullptr;
  QLabel* descr_ = nullptr;
  QLabel* legal_ = nullptr;
};

}  // namespace qz
