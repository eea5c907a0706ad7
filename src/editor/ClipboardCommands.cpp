// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/ClipboardCommands.h"

#include <algorithm>
#include <cctype>

#include "editor/CommandSupport.h"

namespace {
std::string TrimClipboardText(const std::string& text) {
  // A single letter is what the user copied, even when it is one of the trimmed characters.
  if (text.size() <= 1) return text;
  constexpr const char* kTrimmed = "\t\r\n ;=";
  const auto first = text.find_first_not_of(kTrimmed);
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(kTrimmed);
  return text.substr(first, last - first + 1);
}

// A whole copy remembers where it came from, so a later paste can be traced to its dataset.
void MarkSource(const EditorContext& ctx, const TDataSeq& ds, TSeq& copy) {
  if (!copy.sourceFile.empty()) return;
  const std::string file = ctx.filePath.empty() ? ds.dsSourceFile : ctx.filePath;
  copy.sourceFile = file + "[" + ds.dsName + "]";
  TSeqRef ref;
  ref.value1 = ds.dsNumber;
  ref.value2 = copy.seqId;
  ref.sourceName = copy.sourceFile;
  copy.AddContigRef(ref);
}

bool IsSequenceLetter(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '?' || c == '*';
}

void AppendClipboardRows(EditorContext& ctx, TDataSeq& ds) {
  for (const auto& s : ctx.seqClipboard) {
    auto copy = s->Clone();
    if (ds.AddSeq(copy, true) < 0) break;  // the dataset is full; the reason is reported
    ctx.modified = true;
  }
  if (ds.currentRow < 1 && ds.Count() > 0) ds.SetCursor(1, 1);
}
}  // namespace

bool CopySequences(EditorContext& ctx) {
  TDataSeq* ds = CommandDataset(ctx);
  if (ds == nullptr || ds->SeqAt(ds->currentRow) == nullptr) return false;
  ctx.seqClipboard.clear();
  std::string text;
  bool anyBlock = false;
  for (int r = 1; r <= ds->Count(); ++r) {
    const TSeq& s = *ds->SeqAt(r);
    if (s.selLength > 0 && s.selStart > 0) {
      ctx.seqClipboard.push_back(s.SubSequence(s.selStart, s.selLength, true));
      if (anyBlock) text += "\r\n";
      text += ctx.seqClipboard.back()->letters;
      anyBlock = true;
    } else if (s.selected) {
      auto copy = s.Clone();
      MarkSource(ctx, *ds, *copy);
      ctx.seqClipboard.push_back(std::move(copy));
    }
  }
  if (ctx.seqClipboard.empty()) {
    auto copy = ds->CloneAt(ds->currentRow);
    text = copy->letters;
    MarkSource(ctx, *ds, *copy);
    ctx.seqClipboard.push_back(std::move(copy));
  }
  ctx.systemClipboardText = TrimClipboardText(text);
  return true;
}

bool PasteSequences(EditorContext& ctx) {
  TDataSeq* ds = CommandDataset(ctx);
  if (ds == nullptr) return false;
  if (ctx.seqClipboard.empty()) {
    ctx.services.messages.Notify(
        "Nodrix clipboard is empty. To send a sequence to clipboard use menu \"Edit/Copy\".");
    return false;
  }
  if (ctx.locked) return false;
  if (ds->Count() == 0) {
    ds->SaveUndo();
    AppendClipboardRows(ctx, *ds);
    return ctx.modified;
  }
  TSeq* row = ds->SeqAt(ds->currentRow);
  if (row == nullptr || !row->enabled || ds->cursorPos < 1) return false;
  ds->SaveUndo();
  row->InsertSequence(ds->cursorPos, *ctx.seqClipboard.front());
  ds->LettersChanged();
  ctx.modified = true;
  return true;
}

bool PasteAsSeparateSequences(EditorContext& ctx) {
  TDataSeq* ds = CommandDataset(ctx);
  if (ds == nullptr) return false;
  if (ctx.seqClipboard.empty()) {
    ctx.services.messages.Notify(
        "Sequence clipboard is empty. To send a sequence to the sequence clipboard put cursor on "
        "the sequence of interest and press ctl-C (or use the menu \"Edit/Copy\").");
    return false;
  }
  const int before = ds->Count();
  AppendClipboardRows(ctx, *ds);
  return ds->Count() > before;
}

bool PasteText(EditorContext& ctx, const std::string& text) {
  TDataSeq* ds = CommandDataset(ctx);
  if (ds == nullptr || ctx.locked) return false;
  TSeq* row = ds->SeqAt(ds->currentRow);
  if (row == nullptr || !row->enabled) return false;
  // Line ends, the end-of-file mark and anything else that is not a letter of a sequence
  // (numbering, spaces, punctuation of a pasted listing) would corrupt the row.
  std::string letters;
  for (char c : text)
    if (IsSequenceLetter(c)) letters += c;
  if (letters.empty()) return false;
  ds->SaveUndo();
  row->InsertLetters(std::max(ds->cursorPos, 1), letters, false);
  ds->LettersChanged();
  ctx.modified = true;
  return true;
}
