// SPDX-License-Identifier: GPL-3.0-or-later
// TMDIChild: base of the child windows shown inside the main window.
#pragma once
#include <QWidget>
#include <string>

class TMainForm;

class TMDIChild : public QWidget {
  Q_OBJECT
 public:
  explicit TMDIChild(TMainForm& mainForm, QWidget* parent = nullptr);
  [[nodiscard]] TMainForm& MainForm() const { return mainForm_; }

  // Progress helpers: forward to the main window.
  void StartProgress(int max, const std::string& text);
  void StepProgress(bool processEvents);
  void ShowStatus(const std::string& text, bool step, bool processEvents);
  void EndProgress();

 signals:
  // The close was accepted; the window goes away next.
  void closing(QWidget* self);

 protected:
  // Refused while the main window is busy.
  void closeEvent(QCloseEvent* event) override;

 private:
  TMainForm& mainForm_;
};
