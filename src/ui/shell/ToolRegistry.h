// SPDX-License-Identifier: GPL-3.0-or-later
// The registry of tool windows: one slot per kind, each holding the open window of that kind.
#pragma once
#include <QPointer>
#include <QWidget>
#include <array>

enum class ToolKind : int {
  NTestsDialog,
  DataSamplingForm,
  BstrapDB,
  CoalSimDialog,
  GCContentForm,
  DotPlotForm,
  FilterSitesForm,
  ShowPolymSites,
  NJTreeFrm,
  ShowFRegForm,
  RepForm,
  ConcatDialog,
  TabReport,
  RenzymForm,
  SeqPlanerForm,
  GraphForm,
  SimSearchForm,
  TranslateForm,
  TreeViewForm,
  DNApolymDbox,
  LDform,
  PopSubdivDbox,
  RenameForm,
  Count
};

// The caption a window of the kind carries.
const char* ToolKindCaption(ToolKind kind);

class ToolWindowRegistry {
 public:
  // The open window of the kind, nullptr when none. A window deleted by any path drops out
  // by itself (QPointer).
  [[nodiscard]] QWidget* Get(ToolKind kind) const { return slots_[Index(kind)].data(); }
  void Set(ToolKind kind, QWidget* window) { slots_[Index(kind)] = window; }
  // Empties the slot only while it still holds `window` (a closing window must not evict
  // its successor).
  void Remove(ToolKind kind, const QWidget* window) {
    if (slots_[Index(kind)] == window) slots_[Index(kind)] = nullptr;
  }
  [[nodiscard]] int OpenCount() const {
    int n = 0;
    for (const auto& s : slots_) n += s.isNull() ? 0 : 1;
    return n;
  }

 private:
  static std::size_t Index(ToolKind kind) { return static_cast<std::size_t>(kind); }
  std::array<QPointer<QWidget>, static_cast<std::size_t>(ToolKind::Count)> slots_{};
};
