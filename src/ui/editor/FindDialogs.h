// SPDX-License-Identifier: GPL-3.0-or-later
// The find and replace dialogs of the editor window. They only gather the texts and options;
// the window runs the searches.
#pragma once
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

// Search text and one option ("Match case" for letters, "Whole word" for names); Ok, Cancel.
class TFindDialog : public QDialog {
  Q_OBJECT
 public:
  TFindDialog(QWidget* parent, const QString& caption, const QString& optionCaption);
  QLineEdit* FindEdit = nullptr;
  QCheckBox* OptionBox = nullptr;
};

// Find and replacement texts and one option, with "Replace", "Replace all" and "Close". The
// dialog stays open while the buttons are used: each click asks for one run.
class TReplaceDialog : public QDialog {
  Q_OBJECT
 public:
  TReplaceDialog(QWidget* parent, const QString& caption, const QString& optionCaption);
  QLineEdit* FindEdit = nullptr;
  QLineEdit* ReplaceEdit = nullptr;
  QCheckBox* OptionBox = nullptr;
  QPushButton* ReplaceButton = nullptr;
  QPushButton* ReplaceAllButton = nullptr;

 signals:
  void replaceRequested(bool all);
};
