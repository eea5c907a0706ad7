// SPDX-License-Identifier: GPL-3.0-or-later
// TTranslateForm ("Translate sequences"): the options of a translation of the current dataset;
// "Ok" opens the proteins in a new editor window "Translation of " + the editor's caption and,
// with ORFs, the ORF report in a report window.
#pragma once
#include "editor/Translation.h"
#include "ui/analysis/BaseDbox.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class TSeqGridFrm;

class TTranslateForm : public TBaseDialogBox {
  Q_OBJECT
 public:
  explicit TTranslateForm(TMainForm& mainForm, QWidget* parent = nullptr);
  // Remembers the project; the selection is the user's and stays as it is.
  bool InitData(TDataProj* project) override;
  [[nodiscard]] TranslateOptions Options() const;

  QGroupBox *SequencesBox, *RegionsBox, *FramesBox, *OutputBox, *OrfBox;
  QRadioButton *AllSeq, *SelectedSeqDB;
  QRadioButton *throughoutcb, *codregcb, *cbRegSelected, *cbRegNotSelected;
  QRadioButton *OneFrcb, *TreeFrcb, *SixFrcb;
  QCheckBox* ShowRNAcb;
  QRadioButton *codonecb, *codthreecb;
  QCheckBox* cbToFile;
  QLineEdit* eOutFile;
  QCheckBox* cbORFs;
  QLineEdit* ebMinORF;
  QCheckBox* cbAddORFs;

 protected:
  void OkButtonClick() override;
  // Closing leaves the sequences' selected flags alone.
  void closeEvent(QCloseEvent* event) override;

 private:
  void OrfsToggled(bool on);
  void RegionChosen();
};

// The open translate window (to the front) or a new one in its registry slot.
TTranslateForm* NewTranslateForm(TMainForm& mainForm);
// "&Translate...": the window on the editor window's project.
void Translate1Click(TSeqGridFrm& editor);

inline constexpr const char* kTranslationCaptionPrefix = "Translation of ";
