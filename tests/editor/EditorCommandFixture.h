// SPDX-License-Identifier: GPL-3.0-or-later
// A project with recording services and an editor context, for the editor command tests.
#pragma once
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "editor/EditorContext.h"
#include "model/DatasetBuilders.h"
#include "support/RecordingServices.h"

struct CommandFixture {
  RecordingServices svc;
  TDataProj project{svc};
  std::vector<std::unique_ptr<TSeq>> clipboard;
  EditorContext ctx{project, svc, clipboard};

  // Appends a dataset holding the given (name, letters) rows and makes it current.
  TDataSeq& AddDataset(const std::string& name,
                       std::initializer_list<std::pair<std::string, std::string>> rows) {
    project.NewDataset();
    TDataSeq& ds = *project.CurrentDataset();
    project.RenameDataset(project.CurrentIndex(), name);
    for (const auto& [n, letters] : rows) AddRow(ds, n, letters);
    if (ds.Count() > 0) ds.SetCursor(1, 1);
    return ds;
  }
  TDataSeq& Ds(int index = -1) { return *project.DatasetAt(index); }
  TSeq& Row(int r, int index = -1) { return *Ds(index).SeqAt(r); }
  void Answer(std::initializer_list<bool> answers) {
    svc.messages.answers.assign(answers.begin(), answers.end());
  }
  std::vector<std::string>& Questions() { return svc.messages.questions; }
  std::vector<std::string>& Notices() { return svc.messages.notices; }
};
