// SPDX-License-Identifier: GPL-3.0-or-later
// Editor windows in a main window whose questions are answered from a script (three-way
// questions included) and whose notices are recorded.
#pragma once
#include <QAction>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/editor/OpenCommands.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/grid/QSeqGrid3.h"
#include "ui/shell/CLXMain.h"

class ScriptedDialogs final : public IMessages, public IYesNoCancelQuestions {
 public:
  std::vector<std::string> errors, questions, notices;
  std::deque<bool> answers;          // AskYesNo; No once exhausted
  std::deque<YesNoCancel> threeWay;  // AskYesNoCancel; Cancel once exhausted
  void ReportError(const std::string& text) override { errors.push_back(text); }
  bool AskYesNo(const std::string& question) override {
    questions.push_back(question);
    if (answers.empty()) return false;
    const bool a = answers.front();
    answers.pop_front();
    return a;
  }
  void Notify(const std::string& text) override { notices.push_back(text); }
  YesNoCancel AskYesNoCancel(const std::string& question) override {
    questions.push_back(question);
    if (threeWay.empty()) return YesNoCancel::Cancel;
    const YesNoCancel a = threeWay.front();
    threeWay.pop_front();
    return a;
  }
};

struct EditorFixture {
  ScriptedDialogs dialogs;
  std::unique_ptr<TMainForm> form;
  EditorFixture() : form(std::make_unique<TMainForm>(NODRIX_BINARY_DIR, &dialogs)) {
    InstallOpenDispatcher(*form);
  }
  TSeqGridFrm* NewEditor(const QString& caption = {}) {
    return AsSeqGridFrm(form->NewEditorWindow(caption));
  }
  static QMdiSubWindow* Frame(QWidget* w) {
    return qobject_cast<QMdiSubWindow*>(w->parentWidget());
  }
};

// A dataset of the given rows added to the project and made current, its first row current.
inline TDataSeq& AddDataset(TDataProj& project, const std::string& name,
                            const std::vector<std::pair<std::string, std::string>>& rows) {
  project.NewDataset();
  project.RenameDataset(project.CurrentIndex(), name);
  TDataSeq& ds = *project.CurrentDataset();
  for (const auto& [seqName, letters] : rows) {
    auto s = std::make_unique<TSeq>();
    s->seqName = seqName;
    s->letters = letters;
    (void)ds.AddSeq(s, true);
  }
  ds.currentRow = rows.empty() ? 0 : 1;
  return ds;
}

// Lets windows closed with deleteLater go.
inline void DeleteClosedWindows() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}
