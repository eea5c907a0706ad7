// SPDX-License-Identifier: GPL-3.0-or-later
// ValuePrompt: the small number prompt of the Options menu (label, number box, Ok).
#pragma once
#include <QDialog>
#include <optional>

class QSpinBox;

class ValuePrompt : public QDialog {
  Q_OBJECT
 public:
  ValuePrompt(QWidget* parent, const QString& caption, const QString& label, int value, int minimum,
              int maximum);
  [[nodiscard]] QSpinBox* NumberBox() const { return numberBox; }
  // The number confirmed with Ok; none when the prompt was closed any other way, which
  // leaves the setting as it was.
  static std::optional<int> Ask(QWidget* parent, const QString& caption, const QString& label,
                                int value, int minimum, int maximum);

 private:
  QSpinBox* numberBox = nullptr;
};
