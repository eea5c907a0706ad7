// SPDX-License-Identifier: GPL-3.0-or-later
// TTreeViewForm ("View Tree"): a table of named bracket trees, the drawing of the current one
// as a phylogram, opening and saving tree files and exporting the drawing as PNG or SVG.
#pragma once
#include <QWidget>
#include <string>
#include <vector>

#include "trees/TreeTable.h"
#include "ui/trees/TreeDrawing.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;
class QSpinBox;
class QStatusBar;
class QTabWidget;
class QTableWidget;
class QToolButton;
struct IMessages;

class TTreeViewForm : public QWidget {
  Q_OBJECT
 public:
  // messages answers the questions of the table commands and takes their errors.
  explicit TTreeViewForm(IMessages& messages, QWidget* parent = nullptr);

  void ClearTrees();
  bool AddTree(const std::string& name, const std::string& text, bool show);
  void SelectTree(int n);
  [[nodiscard]] const TTreeTable& Table() const { return table; }

  // Reads a tree file into the table; false (and a message) when it cannot be read.
  bool OpenTreeFile(const QString& path);
  // Writes the table (Newick) or the current tree (PAG, NEXUS) through a temporary file.
  bool SaveTreeFile(const QString& path, TreeFileFormat format);
  // The current drawing at its full size.
  bool ExportPng(const QString& path);
  bool ExportSvg(const QString& path);

  [[nodiscard]] QWidget* PaintBox() const { return paintBox; }
  // What the last paint drew instead of a tree; empty when it drew the tree.
  [[nodiscard]] const std::string& LastPaintMessage() const { return lastPaintMessage; }
  void SetDrawStyle(int style);  // 2 normal, 0 V-like
  // Leaves of the outgroup: "Root:" then offers "outgroup" and starts on it.
  void SetOutgroup(const std::vector<std::string>& names);
  // "Fit to window": the current tree's drawing sized to the paint box, labels included.
  void FitToWindow();
  [[nodiscard]] QComboBox* RootChoice() const { return cbRootOn; }
  [[nodiscard]] const TreeDrawStyle& DrawStyle() const { return drawStyle; }

  // Paints the current tree; called by the paint box.
  void PaintCurrentTree(QPainter& painter, QPoint origin);

 private slots:
  void OpentreeBtnClick();
  void SaveTreeBtnClick();
  void DelTreeBtnClick();
  void instreeBtnClick();
  void AddTreeBtnClick();
  void BifurcTreeClick();
  void SavePictureClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildTreePage(QWidget* page);
  void BuildDataPage(QWidget* page);
  void BuildOptionsPage(QWidget* page);
  void RefreshGrid();
  void ShowCurrent();  // memos, spin box, status, track bars; then redraw
  void ReadStyle();
  void RefreshRootChoices();
  void TrackBarMoved();
  [[nodiscard]] QSize DrawingSize() const;
  int LeafRowHeight() const;

  IMessages& messages;
  TTreeTable table;
  TreeDrawStyle drawStyle;
  std::string lastPaintMessage;
  bool paintingEnabled = false;
  bool syncing = false;

  QTabWidget* pages = nullptr;
  QWidget* paintBox = nullptr;
  QSpinBox* CurTreeEdit = nullptr;
  QComboBox* cbRootOn = nullptr;
  std::vector<std::string> outgroup;
  QSlider* TrackBar1 = nullptr;
  QSlider* TrackBar2 = nullptr;
  QScrollBar* hScroll = nullptr;
  QScrollBar* vScroll = nullptr;
  QTableWidget* treeGrid = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QPlainTextEdit* Memo2 = nullptr;
  QPushButton* BranchClrBtn = nullptr;
  QSpinBox* BLdigitsEdit = nullptr;
  QSpinBox* BrThickEdit = nullptr;
  QLineEdit* MinBLenEdit = nullptr;
  QLineEdit* minBstrapToShow = nullptr;
  QCheckBox* cbShowBrLen = nullptr;
  QCheckBox* cbShowBstrap = nullptr;
  QRadioButton* rbNormal = nullptr;
  QRadioButton* rbVlike = nullptr;
  QPushButton* BLfontBtn = nullptr;
  QPushButton* LabelFontBtn = nullptr;
  QPushButton* BstrapFontBtn = nullptr;
  QStatusBar* statusBar = nullptr;
};
