// SPDX-License-Identifier: GPL-3.0-or-later
// TRepForm: the text report window ("Report"), a plain text box the analyses fill.
#pragma once
#include <string>

#include "ui/shell/CLXChildWin.h"

class QPlainTextEdit;
class QToolBar;

class TRepForm : public TMDIChild {
  Q_OBJECT
 public:
  explicit TRepForm(TMainForm& mainForm, QWidget* parent = nullptr);

  [[nodiscard]] QPlainTextEdit* Redit1() const { return redit1; }
  void AddLine(const std::string& line);
  void SetText(const std::string& text);
  void Clear();
  [[nodiscard]] std::string Text() const;
  // Inserts text at a 0-based character position (0..length); does nothing for a position
  // outside the text.
  bool insertStr(const std::string& text, int position);

  // Writes the text with CR LF line ends; false (old file kept) when it cannot be written.
  bool SaveToFile(const QString& path) const;
  bool ExportPdf(const QString& path) const;
  // The selection, or the whole text when nothing is selected, to the clipboard.
  void CopyToClipboard() const;

 private:
  void Save1Click();
  void Print1Click();
  void ExportPdf1Click();

  QPlainTextEdit* redit1 = nullptr;
  QToolBar* toolbar = nullptr;
};
