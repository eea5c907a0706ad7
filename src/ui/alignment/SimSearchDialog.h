// SPDX-License-Identifier: GPL-3.0-or-later
// TSimSearchForm ("Similarity search"): the query (pasted or loaded from a file) found on both
// strands of the current editor window's current dataset, marked as regions, with a local
// alignment score on request. One window in its registry slot.
#pragma once
#include <memory>

#include "alignment/SimilaritySearch.h"
#include "ui/shell/CLXChildWin.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

class TSimSearchForm : public TMDIChild {
  Q_OBJECT
 public:
  explicit TSimSearchForm(TMainForm& mainForm, QWidget* parent = nullptr);
  ~TSimSearchForm() override;

  [[nodiscard]] SimSearchOptions Options() const;
  // LoadVect once a file and its filter entry (1..5) are chosen.
  void LoadQueryFile(const QString& path, int filterIndex);
  // Searches the current editor window's current dataset and closes; with no query it does
  // nothing and stays open.
  void OkButtonClick();
  void CancelButtonClick();

  QPlainTextEdit* Memo1 = nullptr;
  QPushButton* Button1 = nullptr;  // "Load from file =>"
  QLineEdit* Edit1 = nullptr;
  QRadioButton *AllSeq = nullptr, *SelectedSeqDB = nullptr;
  QCheckBox *cbRep = nullptr, *cbMark = nullptr;
  QCheckBox *cbSim = nullptr, *cbBlast = nullptr;
  QSpinBox* edSim = nullptr;
  QPushButton *OkButton = nullptr, *CancelButton = nullptr;

 private:
  void Button1Click();
  void CloseWindow();
  std::unique_ptr<TSeq> querySeq;
};

// The open window, to the front, or a new one in the registry slot.
TSimSearchForm* NewSimSearchForm(TMainForm& mainForm);

inline constexpr const char* kLoadVectFilter =
    "Fasta (*.*);;text files (*.txt);;GenBank (*.gb);;EMBL (*.emb);;Staden EXP (*.exp)";
