// SPDX-License-Identifier: GPL-3.0-or-later
// TIndividualsPage: the individuals page of an editor window. Left the individuals table
// (IndivGrid, filtered by GrpBox, cells edited in place) with its toolbar and menu IgridMenu;
// right the sequence list (SeqList, filtered by DSbox) whose ticks link sequences to the
// individual of the current table row, and "Selected: " with the number ticked. The commands
// are the window-free ones of the individuals page, run through the window.
#pragma once
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QListView;
class QMenu;
class QTableView;
class QToolBar;
class TIndividModel;
class TSeqGridFrm;
class TSeqListModel;
struct EditorContext;

class TIndividualsPage : public QWidget {
  Q_OBJECT
 public:
  explicit TIndividualsPage(TSeqGridFrm& window, QWidget* parent = nullptr);
  // Fills the filters, the table and the list from the project again (the filters and the
  // current individual are kept where they still exist).
  void Rebuild();

  QComboBox* GrpBox = nullptr;  // "All", "Not in any group", then the groups
  QTableView* IndivGrid = nullptr;
  QComboBox* DSbox = nullptr;  // "All", then the datasets
  QListView* SeqList = nullptr;
  QLabel* SelectedLabel = nullptr;  // "Selected: " + ticked items
  QToolBar* IndivToolBar = nullptr;
  QToolBar* SeqToolBar = nullptr;
  QMenu* IgridMenu = nullptr;
  [[nodiscard]] TIndividModel* IndividModel() const { return individModel; }
  [[nodiscard]] TSeqListModel* SeqModel() const { return seqModel; }
  [[nodiscard]] QAction* Action(const char* objectName) const;

  // The commands with their file names given (the menu items ask for them first).
  void ImportFrom(const QString& path);
  void ExportTo(const QString& path);
  // Writes the chosen individuals with their groups and sequences to a project file.
  bool WriteIndividsProject(const QString& path, const std::vector<int>& individIndexes);
  // Project indexes of the individuals of the selected table rows (the current row when none
  // is selected), in table order.
  [[nodiscard]] std::vector<int> ChosenIndivids() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TSeqGridFrm& window;
  TIndividModel* individModel = nullptr;
  TSeqListModel* seqModel = nullptr;
  bool filling = false;
  int allDatasetsAnswer = 0;  // listing very many datasets: 0 not asked, 1 agreed, -1 declined

  void BuildMenu();
  QAction* MenuItem(QMenu* menu, const QString& caption, const char* name,
                    void (TIndividualsPage::*handler)());
  void FillIndividuals();
  void FillSequences();
  void CurrentIndividChanged();
  void UpdateSelectedCount();
  void RunOnProject(const std::function<bool(EditorContext&)>& command);

  void GotoSeqEditor1Click();
  void ImportIndivids1Click();
  void ExportIndivids1Click();
  void IndividsToProject1Click();
  void AddIndividual1Click();
  void DeleteSelected1Click();
  void RemoveEmpty1Click();
  void LinkSeqs1Click();
  void CreateIndivids1Click();
  void IndividualsReport1Click();
  void SequencesReport1Click();
  void PageReport1Click();
  void AddToGroup1Click();
  void RemoveFromGroup1Click();
  void SortByName1Click();
  void AddColumn1Click();
  void DeleteColumn1Click();
  void BulkTick(int how, const char* question);
};
