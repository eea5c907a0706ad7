// SPDX-License-Identifier: GPL-3.0-or-later
// TGraphForm: the plot viewer ("Plot view"): the plot with its sequence strip, the series list
// with its editable value grid and series commands, and the drawing options.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "common/PlotValues.h"
#include "model/tsequnit.h"
#include "ui/viewers/PlotUnit.h"

class QCheckBox;
class QGroupBox;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class QTabWidget;
class QVBoxLayout;

class TGraphForm : public TPlotBoxForm {
  Q_OBJECT
 public:
  explicit TGraphForm(TMainForm& mainForm, QWidget* parent = nullptr);
  ~TGraphForm() override;

  // Appends a copy; a new name joins the series list, checked as the series is visible, and
  // becomes the selected entry.
  void AddSer(const tser& s);
  // The strip shows a copy of the sequence; "Show seq." becomes available and ticked.
  void AddSeq(const TSeq& seq);
  [[nodiscard]] const TSeq& StripSequence() const { return *stripSeq; }
  // The letters the strip shows for the current X range (empty when it is not drawn).
  [[nodiscard]] std::string StripLetters() const;
  [[nodiscard]] QWidget* Strip() const { return strip; }
  // Region kinds the strip colours (indexed by kind).
  [[nodiscard]] const std::array<bool, kRegionKindCount>& StripKinds() const { return stripKinds; }

  [[nodiscard]] int SelectedSeries() const;
  void SelectSeries(int index);
  // "Save series...": the selected series as comma-separated text; false when none or the
  // file cannot be written.
  bool SaveSeries(const QString& path) const;

  // Takes the value grid into the selected series; false (and the message shown) when a cell
  // is not a number.
  bool GridToSeries();
  // The series commands of the pop-up menu.
  void AddSeries1Click();
  void RemoveSeries1Click();
  void RenameSeries1Click();
  void AddValue1Click();
  void InsertValue1Click();
  void RemoveValue1Click();
  // "Line" and "Fill": a colour for the selected series.
  void PickColor(bool line);

  // Asks for a series' new name (the rename dialog); nothing when cancelled.
  std::function<std::optional<std::string>(const std::string& current)> askName;
  // Asks for a colour (0x00BBGGRR); nothing when cancelled.
  std::function<std::optional<std::uint32_t>(std::uint32_t current)> askColor;

  QTabWidget* tabs = nullptr;
  QListWidget* serNames = nullptr;
  QTableWidget* serValues = nullptr;
  QMenu* seriesMenu = nullptr;
  QGroupBox* dataPoints = nullptr;
  QRadioButton *rbBars = nullptr, *rbLine = nullptr, *rbDotsOnly = nullptr;
  QCheckBox *cbErBars = nullptr, *cbShowHGrid = nullptr, *cbShowSeq = nullptr;
  QRadioButton *rbDot = nullptr, *rbDash = nullptr, *rbSolid = nullptr, *rbDashDot = nullptr;
  QRadioButton *rbShowValues = nullptr, *rbShowLabels = nullptr;
  QRadioButton *rbTop = nullptr, *rbBottom = nullptr;
  QSpinBox* PointSize = nullptr;
  QPushButton *clrLineBtn = nullptr, *clrFillBtn = nullptr;
  std::array<QRadioButton*, 5> shapeButtons{};  // rbSerCircle ... rbSerTriangle2, by shape

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FillGrid();
  void LoadSelected();  // controls and grid from the selected series
  void SeriesLookChanged();
  void SaveSeries1Click();
  void OptionsChanged();
  void PlaceStrip();
  void RefreshAll();
  std::unique_ptr<TSeq> stripSeq;
  std::array<bool, kRegionKindCount> stripKinds{};
  QWidget* strip = nullptr;
  QVBoxLayout* plotLayout = nullptr;
  bool loading = false;
  bool checkingGrid = false;
  std::vector<PlotCells> shownCells;  // the value grid's texts as last filled or read
};

// "&Plot viewer...": the open plot viewer of the main window (activated), or a new empty one.
TGraphForm* NewGraphForm(TMainForm& mainForm);
