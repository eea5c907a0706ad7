// SPDX-License-Identifier: GPL-3.0-or-later
// TCoalSimDialog: the "Coalescent simulations" dialog. It gathers the options, starts the run
// in the core and shows the simulated datasets and the report.
#pragma once
#include <QPointer>

#include "coalescent/CoalSim.h"
#include "ui/analysis/BaseDbox.h"
#include "ui/viewers/RepUnit.h"

class QTableWidget;

class TCoalSimDialog : public TBaseDialogBox {
  Q_OBJECT
 public:
  explicit TCoalSimDialog(TMainForm& mainForm, QWidget* parent = nullptr);

  // The options the controls hold (the seed box's text is checked by the run's caller).
  [[nodiscard]] CoalSimOptions Options() const;
  void OkButtonClick() override;
  // The report window of the last finished run.
  [[nodiscard]] TRepForm* LastReport() const { return lastReport.data(); }

  QSpinBox *nRun, *Slen, *nSeq, *nMut, *DemeNumber;
  QLineEdit *Rrate, *ThetaEdit, *EditNe, *TsinceEdit, *ScoEdit, *MigRateEdit, *mstart, *TofSplit;
  QLineEdit *FileNameEdit, *edFname, *Pval, *SeedEdit;
  QRadioButton *cbSegSites, *cbMut, *cbTheta, *cbSizeConst, *cbGrowth, *cbPanmict, *cbSubdiv;
  QRadioButton *cbSamp1Deme, *cbSampEqual;
  QCheckBox *cbSplit, *cbSegrSites, *cbSingls, *cbTh, *cbPi, *cbTajimaD, *cbFuLi, *cbZnS, *cbWBQ;
  QCheckBox *cbFst, *cbDst, *cbKst, *cbNm, *cbDxy, *cbShared, *cbSave, *cbphylip, *cbseqwin;
  QTableWidget* SampGrid;

  void cbThetaClick();
  void cbGrowthClick();
  void cbSubdivClick();
  void DemeNumberChanged();

 private:
  void DoCoalesc(const CoalSimOptions& options, const std::string& folder);
  QPointer<TRepForm> lastReport;
};

// The open dialog (activated), or a new one registered in the main window.
TCoalSimDialog* NewCoalSimDialog(TMainForm& mainForm);
