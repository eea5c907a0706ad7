// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/FindReplaceCommands.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <vector>

#include "editor/CommandSupport.h"

namespace {
std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// 1-based position of the first match at or after `from`, 0 when none.
int FindFrom(const std::string& letters, const std::string& text, int from, bool matchCase) {
  if (from < 1) from = 1;
  if (from > static_cast<int>(letters.size())) return 0;
  const std::size_t at = matchCase
                             ? letters.find(text, static_cast<std::size_t>(from - 1))
                             : Upper(letters).find(Upper(text), static_cast<std::size_t>(from - 1));
  return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

struct Match {
  int row = 0, pos = 0;
};

// The first match from (row, pos), continuing from position 1 of every later row.
Match FindFromCursor(const TDataSeq& ds, int row, int pos, const std::string& text,
                     bool matchCase) {
  for (int r = std::max(row, 1); r <= ds.Count(); ++r) {
    const int p = FindFrom(ds.SeqAt(r)->letters, text, r == row ? pos : 1, matchCase);
    if (p > 0) return {r, p};
  }
  return {};
}

bool RefuseEmpty(EditorContext& ctx, const std::string& text) {
  if (!text.empty()) return false;
  ctx.services.messages.Notify(kEmptyFindText);
  return true;
}

// Overwrites what can be overwritten so that qualities and peaks of those letters stay, and
// deletes or inserts only the difference in length; regions follow the sequence's own edits.
void ReplaceLettersAt(TSeq& seq, int pos, int oldLength, const std::string& text) {
  const int newLength = static_cast<int>(text.size());
  const int common = std::min(oldLength, newLength);
  for (int i = 0; i < common; ++i)
    seq.letters[static_cast<std::size_t>(pos - 1 + i)] = text[static_cast<std::size_t>(i)];
  if (oldLength > newLength)
    seq.DeleteLetters(pos + common, oldLength - common, false);
  else if (newLength > oldLength)
    seq.InsertLetters(pos + common, std::string_view(text).substr(static_cast<std::size_t>(common)),
                      false);
}

std::string ReplaceEvery(const std::string& name, const std::string& find,
                         const std::string& replacement) {
  std::string out;
  std::size_t from = 0;
  for (std::size_t at = name.find(find); at != std::string::npos; at = name.find(find, from)) {
    out.append(name, from, at - from);
    out += replacement;
    from = at + find.size();
  }
  out.append(name, from, std::string::npos);
  return out;
}
}  // namespace

bool FindInSequences(EditorContext& ctx, const std::string& text, bool matchCase) {
  TDataSeq* ds = CommandDataset(ctx);
  if (ds == nullptr || ds->SeqAt(ds->currentRow) == nullptr) return false;
  if (RefuseEmpty(ctx, text)) return false;
  const int start = ds->cursorPos + (ctx.findSucceeded ? 1 : 0);
  const Match m = FindFromCursor(*ds, ds->currentRow, start, text, matchCase);
  if (m.row == 0) {
    ctx.services.messages.Notify("Can not find \"" + text + "\"");
    return false;
  }
  ds->SetCursor(m.pos, m.row);
  ctx.findSucceeded = true;
  const TSeq& seq = *ds->SeqAt(m.row);
  std::string notice =
      "Found in sequence " + seq.seqName + "\r\nat sequence position: " + std::to_string(m.pos);
  if (seq.columnShift > 0)
    notice += "\r\ncorresponds to alignment position: " + std::to_string(m.pos + seq.columnShift);
  ctx.services.messages.Notify(notice);
  return true;
}

int FindSequenceName(EditorContext& ctx, const std::string& text, bool wholeWord) {
  if (CommandDataset(ctx) == nullptr || RefuseEmpty(ctx, text)) return -1;
  return ctx.project.FindSequence(text, wholeWord);
}

int FindDatasetName(EditorContext& ctx, const std::string& text, bool wholeWord) {
  if (CommandDataset(ctx) == nullptr || RefuseEmpty(ctx, text)) return -1;
  return ctx.project.FindDataset(text, wholeWord);
}

bool ReplaceNextInSequences(EditorContext& ctx, const std::string& find,
                            const std::string& replacement, bool matchCase) {
  TDataSeq* ds = CommandDataset(ctx);
  if (ds == nullptr || ds->SeqAt(ds->currentRow) == nullptr || ctx.locked) return false;
  if (RefuseEmpty(ctx, find)) return false;
  int row = ds->currentRow, pos = ds->cursorPos;
  Match m;
  // Hidden rows are left alone by editing commands, so their matches are passed over.
  for (;;) {
    m = FindFromCursor(*ds, row, pos, find, matchCase);
    if (m.row == 0 || ds->SeqAt(m.row)->enabled) break;
    row = m.row + 1;
    pos = 1;
  }
  bool replaced = false;
  if (m.row != 0) {
    ds->SetCursor(m.pos, m.row);
    TSeq& seq = *ds->SeqAt(m.row);
    std::string question = "Make replacement ";
    if (find.size() <= 100 && replacement.size() <= 100)
      question += "\r\nof " + find + "\r\nwith " + replacement + "\r\n";
    question += "in sequence " + seq.seqName + " at position " + std::to_string(m.pos);
    int next = m.pos + 1;
    if (ctx.services.messages.AskYesNo(question)) {
      ds->SaveUndo();
      ReplaceLettersAt(seq, m.pos, static_cast<int>(find.size()), replacement);
      ds->LettersChanged();
      ctx.modified = true;
      replaced = true;
      next = m.pos + static_cast<int>(replacement.size());
    }
    // A declined match, or one the replacement itself contains, is not offered again.
    ds->currentRow = m.row;
    ds->cursorPos = std::min(next, seq.Length() + 1);
  }
  if (!replaced) ctx.services.messages.Notify("No replacements made");
  return replaced;
}

int ReplaceAllInSequences(EditorContext& ctx, const std::string& find,
                          const std::string& replacement, bool matchCase) {
  TDataSeq* current = CommandDataset(ctx);
  if (current == nullptr || current->SeqAt(current->currentRow) == nullptr || ctx.locked) return -1;
  if (RefuseEmpty(ctx, find)) return -1;
  const auto scope = ScopeDatasets(
      ctx,
      "Proceed with replacements in all datasets of the project?\r\nPress No to process just "
      "the current dataset");
  int made = 0;
  ForEachDataset(ctx, scope, [&](TDataSeq& ds) {
    bool saved = false;
    for (int r = 1; r <= ds.Count(); ++r) {
      TSeq& seq = *ds.SeqAt(r);
      if (!seq.enabled) continue;
      std::vector<int> found;
      for (int p = FindFrom(seq.letters, find, 1, matchCase); p > 0;
           p = FindFrom(seq.letters, find, p + static_cast<int>(find.size()), matchCase))
        found.push_back(p);
      if (found.empty()) continue;
      if (!saved) {
        ds.SaveUndo();
        saved = true;
      }
      // Last to first, so the positions found stay valid.
      for (auto it = found.rbegin(); it != found.rend(); ++it)
        ReplaceLettersAt(seq, *it, static_cast<int>(find.size()), replacement);
      made += static_cast<int>(found.size());
    }
    if (saved) ds.LettersChanged();
  });
  if (made > 0) ctx.modified = true;
  ctx.services.messages.Notify("Made " + std::to_string(made) +
                               (made == 1 ? " replacement" : " replacements"));
  return made;
}

int ReplaceInSequenceNames(EditorContext& ctx, const std::string& find,
                           const std::string& replacement, bool replaceAll) {
  if (CommandDataset(ctx) == nullptr || RefuseEmpty(ctx, find)) return -1;
  const auto scope = ScopeDatasets(
      ctx,
      "Proceed with replacements in all datasets of the project?\r\nPress No to process just "
      "the current dataset");
  int changed = 0;
  for (TDataSeq* ds : scope) {
    for (int r = 1; r <= ds->Count(); ++r) {
      const std::string name = ds->SeqAt(r)->seqName;
      if (name.find(find) == std::string::npos) continue;
      if (!replaceAll &&
          !ctx.services.messages.AskYesNo("Replace " + find + "\r\nwith " + replacement + " ?"))
        continue;
      const std::string renamed = ReplaceEvery(name, find, replacement);
      if (renamed.empty() || renamed == name) continue;
      ds->RenameSeq(r, renamed, true);
      ++changed;
    }
  }
  if (changed > 0) ctx.modified = true;
  if (changed == 0)
    ctx.services.messages.Notify("No replacements made");
  else if (changed == 1)
    ctx.services.messages.Notify("Replaced name in 1 sequence");
  else
    ctx.services.messages.Notify("Replaced names in " + std::to_string(changed) + " sequences");
  return changed;
}

int ReplaceInDatasetNames(EditorContext& ctx, const std::string& find,
                          const std::string& replacement, bool replaceAll) {
  if (CommandDataset(ctx) == nullptr || RefuseEmpty(ctx, find)) return -1;
  int changed = 0;
  for (int i = 0; i < ctx.project.DatasetCount(); ++i) {
    const std::string name = ctx.project.DatasetAt(i)->dsName;
    if (name.find(find) == std::string::npos) continue;
    if (!replaceAll &&
        !ctx.services.messages.AskYesNo("Replace \"" + find + "\" with \"" + replacement +
                                        "\"\r\nin the name of the dataset " + name + "?"))
      continue;
    const std::string renamed = ReplaceEvery(name, find, replacement);
    if (renamed.empty() || renamed == name) continue;
    ctx.project.RenameDataset(i, renamed);
    ++changed;
  }
  if (changed > 0) ctx.modified = true;
  if (changed == 0)
    ctx.services.messages.Notify("No replacements made");
  else if (changed == 1)
    ctx.services.messages.Notify("Replaced name in 1 dataset");
  else
    ctx.services.messages.Notify("Replaced names in " + std::to_string(changed) + " datasets");
  return changed;
}
