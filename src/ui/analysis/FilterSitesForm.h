// SPDX-License-Identifier: GPL-3.0-or-later
// TFilterSitesForm ("Filter sites"): the site classes and region kept; "Ok" shows the filtered
// copies of the datasets ticked in the tree in a new editor window.
#pragma once
#include "analysis/FilterSitesUnit.h"
#include "ui/analysis/BaseDbox2.h"

class TFilterSitesForm : public TBaseDialogBox2 {
  Q_OBJECT
 public:
  explicit TFilterSitesForm(TMainForm& mainForm, QWidget* parent = nullptr);
  bool InitData(TDataProj* project) override;
  [[nodiscard]] FilterSitesOptions Options() const;

  QRadioButton *rbFullLength, *rbOnlyReg;
  QSpinBox *RegFrom, *RegTo;
  QCheckBox* cbSilent;
  QRadioButton *cbNonSilent, *cbDegenerate;
  QCheckBox *cb1st, *cb2nd, *cb3rd;
  QCheckBox *cbNonDeg, *cbDeg2, *cbDeg3, *cbDeg4;
  QRadioButton *rbRemoveIndels, *rbInclIndels;
  QRadioButton *cbRemoveAmbig, *cbIgnoreAmbig;

 protected:
  void OkButtonClick() override;

 private:
  // The boxes of the chosen coding class enabled and checked, the others cleared.
  void CodingChoiceChanged(bool degenerateToo);
};

// The registered site filter (activated), or a new one.
TFilterSitesForm* NewFilterSitesForm(TMainForm& mainForm);
