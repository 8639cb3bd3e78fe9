#pragma once
// The text entry dialog behind every value, integer and frequency entry: a prompt, one entry,
// OK and Cancel. It stays on top, is centred on the screen, and lays itself out around its
// prompt so that long prompts (the suffix table of value entries) are never cut.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qz {

class TInputForm : public QDialog {
  Q_OBJECT

 public:
  explicit TInputForm(QWidget* parent = nullptr);

  // Title, prompt and entry text; lays the dialog out for the prompt.
  void Setup(const QString& title, const QString& prompt, const QString& initial);
  // The entry's text.
  QString Text() const;

  QLabel* lbPrompt = nullptr;
  QLineEdit* edValue = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void LayOut();
};

}  // namespace qz
