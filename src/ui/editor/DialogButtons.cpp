// SPDX-License-Identifier: GPL-3.0-or-later
// OK and Cancel row.
#include "ui/editor/DialogButtons.h"

#include <QBoxLayout>
#include <QPushButton>

OkCancelButtons AddOkCancelRow(QWidget* owner, QBoxLayout* layout, const char* okCaption) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  OkCancelButtons b;
  b.ok = new QPushButton(okCaption, owner);
  b.ok->setObjectName("OkButton");
  b.ok->setDefault(true);
  b.cancel = new QPushButton("Cancel", owner);
  b.cancel->setObjectName("CancelButton");
  row->addWidget(b.ok);
  row->addWidget(b.cancel);
  layout->addLayout(row);
  return b;
}
