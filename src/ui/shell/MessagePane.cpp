// SPDX-License-Identifier: GPL-3.0-or-later
// The message pane.
#include "ui/shell/MessagePane.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

MessagePane::MessagePane(QWidget* parent) : QWidget(parent) {
  setObjectName("MessagePane");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(1);
  auto* header = new QHBoxLayout;
  auto* title = new QLabel("Error/message window", this);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  hideButton = new QToolButton(this);
  hideButton->setObjectName("HideMessagesButton");
  hideButton->setText("x");
  hideButton->setAutoRaise(true);
  hideButton->setToolTip("Hide error list");
  header->addWidget(title);
  header->addStretch(1);
  header->addWidget(hideButton);
  layout->addLayout(header);
  messages = new QPlainTextEdit(this);
  messages->setReadOnly(true);
  messages->setLineWrapMode(QPlainTextEdit::NoWrap);
  layout->addWidget(messages);
  connect(hideButton, &QToolButton::clicked, this, &MessagePane::hideRequested);
}

void MessagePane::Append(const QString& text) {
  messages->moveCursor(QTextCursor::End);
  messages->insertPlainText(text + "\n");
  messages->verticalScrollBar()->setValue(messages->verticalScrollBar()->maximum());
}

QString MessagePane::Text() const {
  return messages->toPlainText();
}
