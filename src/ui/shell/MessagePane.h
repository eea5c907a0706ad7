// SPDX-License-Identifier: GPL-3.0-or-later
// MessagePane: the "Error/message window" below the child windows, collecting reported problems.
#pragma once
#include <QWidget>

class QPlainTextEdit;
class QToolButton;

class MessagePane : public QWidget {
  Q_OBJECT
 public:
  explicit MessagePane(QWidget* parent = nullptr);
  void Append(const QString& text);
  [[nodiscard]] QString Text() const;
  [[nodiscard]] QToolButton* HideButton() const { return hideButton; }

 signals:
  void hideRequested();

 private:
  QPlainTextEdit* messages = nullptr;
  QToolButton* hideButton = nullptr;
};
