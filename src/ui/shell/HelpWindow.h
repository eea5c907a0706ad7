// SPDX-License-Identifier: GPL-3.0-or-later
// The user guide (docs/guide.md, built into the program) in a child window of its own.
#pragma once
#include <QString>

#include "ui/shell/CLXChildWin.h"

class QTextBrowser;

class THelpForm : public TMDIChild {
  Q_OBJECT
 public:
  explicit THelpForm(TMainForm& mainForm, QWidget* parent = nullptr);
  [[nodiscard]] QTextBrowser* Browser() const { return browser; }
  // Scrolls to the first heading whose text begins with `topic`; the top when none does.
  void ShowTopic(const QString& topic);

 private:
  QTextBrowser* browser = nullptr;
};

// The guide's Markdown text as shipped; empty only in a broken build.
QString UserGuideText();
// The guide's section for a window: its caption, or the topic a dialog's caption stands for
// ("Analyse LD" is under "Linkage disequilibrium").
QString HelpTopicFor(const QString& windowCaption);
