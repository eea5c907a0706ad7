// SPDX-License-Identifier: GPL-3.0-or-later
// The user guide window.
#include "ui/shell/HelpWindow.h"

#include <QFile>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QVBoxLayout>

QString UserGuideText() {
  // The guide lives in this static library: its resource must be pulled in by name.
  static const bool loaded = [] {
    Q_INIT_RESOURCE(UserGuide);
    return true;
  }();
  (void)loaded;
  QFile file(":/nodrix/guide.md");
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

QString HelpTopicFor(const QString& caption) {
  static const std::pair<const char*, const char*> kTopics[] = {
      {"Analyse DNA polymorphism", "DNA polymorphism"},
      {"Analyse population subdivision", "Population subdivision"},
      {"Analyse LD", "Linkage disequilibrium"},
      {"Find polymorphic sites", "Polymorphic sites"},
      {"Neighbour-joining tree", "Neighbour-joining trees"},
      {"View Tree", "Neighbour-joining trees"},
      {"Plot view", "Plots"},
      {"Genetic code editor", "Genetic codes"},
  };
  for (const auto& [window, topic] : kTopics)
    if (caption == QLatin1String(window)) return QString::fromLatin1(topic);
  return caption;
}

THelpForm::THelpForm(TMainForm& mainForm, QWidget* parent) : TMDIChild(mainForm, parent) {
  setObjectName("HelpForm");
  setWindowTitle("Nodrix3 user guide");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  browser = new QTextBrowser(this);
  browser->setObjectName("GuideText");
  browser->setOpenExternalLinks(true);
  browser->setMarkdown(UserGuideText());
  layout->addWidget(browser);
  resize(720, 560);
}

void THelpForm::ShowTopic(const QString& topic) {
  QTextDocument* doc = browser->document();
  for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().headingLevel() == 0 ||
        !block.text().startsWith(topic, Qt::CaseInsensitive))
      continue;
    QTextCursor cursor(block);
    browser->setTextCursor(cursor);
    // The heading at the top of the window, not merely somewhere in it.
    browser->verticalScrollBar()->setValue(browser->verticalScrollBar()->maximum());
    browser->ensureCursorVisible();
    return;
  }
  browser->moveCursor(QTextCursor::Start);
  browser->verticalScrollBar()->setValue(0);
}
