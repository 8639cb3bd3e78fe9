#pragma once
// Small builders the setup windows share: entries, value labels, yellow input fields.

#include <QString>

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace qz {

// An object name from a caption: letters and digits only ("&Apply" -> "Apply", "Count Time"
// -> "CountTime"), with a prefix.
QString NameFromCaption(const QString& prefix, const QString& caption);

// A caption label in column 0, an entry in column 1 and a unit label in column 2 of a grid row;
// the entry is named prefix + caption. Returns the entry.
QLineEdit* AddEntryRow(QGridLayout* g, int row, const QString& prefix, const QString& caption,
                       const QString& unit, const QString& hint = QString(),
                       QLabel** captionLabel = nullptr);
// A caption, a sunken value label and a unit label; returns the value label, unit in *unit.
QLabel* AddValueRow(QGridLayout* g, int row, const QString& prefix, const QString& caption,
                    QLabel** unit = nullptr);
QCheckBox* MakeCheck(QWidget* parent, const QString& prefix, const QString& caption,
                     const QString& hint = QString());
QPushButton* MakeButton(QWidget* parent, const QString& caption);
// Entry fields that accept input are yellow; disabled ones take the window colour.
void SetInputColour(QLineEdit* e, bool enabled);
// Sets an entry's text without counting as an operator change.
void SetEntryText(QLineEdit* e, const QString& text);

}  // namespace qz
