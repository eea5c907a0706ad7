// SPDX-License-Identifier: GPL-3.0-or-later
// TGraphForm: the plot viewer ("Plot view"): the plot, the series list with its value grid,
// and the drawing options.
#pragma once
#include "ui/viewers/PlotUnit.h"

class QListWidget;
class QTableWidget;
class QTabWidget;
class QRadioButton;
class QCheckBox;

class TGraphForm : public TPlotBoxForm {
  Q_OBJECT
 public:
  explicit TGraphForm(TMainForm& mainForm, QWidget* parent = nullptr);

  // Appends a copy; a new name joins the series list, checked as the series is visible, and
  // becomes the selected entry.
  void AddSer(const tser& s);
  [[nodiscard]] int SelectedSeries() const;
  // "Save series...": the selected series as comma-separated text; false when none or the
  // file cannot be written.
  bool SaveSeries(const QString& path) const;

 private:
  void FillGrid();
  void SaveSeries1Click();
  void OptionsChanged();
  QTabWidget* tabs = nullptr;
  QListWidget* serNames = nullptr;
  QTableWidget* serValues = nullptr;
  QRadioButton* rbBars = nullptr;
  QRadioButton* rbLine = nullptr;
  QRadioButton* rbDotsOnly = nullptr;
  QCheckBox* cbErBars = nullptr;
  QCheckBox* cbShowHGrid = nullptr;
  QRadioButton* rbShowLabels = nullptr;
};
