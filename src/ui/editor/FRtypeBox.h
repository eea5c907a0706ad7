// SPDX-License-Identifier: GPL-3.0-or-later
// TFRtypeBox: the region type chooser ("Region type") of the sequence properties.
#pragma once
#include <QDialog>

#include "editor/RegionTable.h"

class QComboBox;
class QPushButton;
class QRadioButton;

class TFRtypeBox : public QDialog {
  Q_OBJECT
 public:
  // Opens on the list entry startIndex, on the strand given ("Forward" unless reverse).
  explicit TFRtypeBox(QWidget* parent, int startIndex = 0, bool reverse = false);

  // The choice once closed: RegionTypeChoice of the entry and strand after "Ok",
  // kRegionTypeCancelled after "Cancel" or with "Unknown_type" chosen.
  [[nodiscard]] int Result() const { return result; }
  // Shows the chooser modally and gives its result.
  static int Choose(QWidget* parent, int startIndex, bool reverse);

  QComboBox* cbFRtype = nullptr;
  QRadioButton* rbForward = nullptr;
  QRadioButton* rbReverse = nullptr;
  QPushButton* OkButton = nullptr;
  QPushButton* CancelButton = nullptr;

 private:
  int result = kRegionTypeCancelled;
  void OkButtonClick();
};
