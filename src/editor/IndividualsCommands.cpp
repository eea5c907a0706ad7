// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/IndividualsCommands.h"

#include <algorithm>
#include <set>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "model/DataProjUnit.h"

namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// The valid indexes in the order given, each once.
std::vector<int> Chosen(const TDataProj& project, const std::vector<int>& indexes) {
  std::vector<int> out;
  std::unordered_set<int> seen;
  for (int i : indexes)
    if (i >= 0 && i < project.IndividCount() && seen.insert(i).second) out.push_back(i);
  return out;
}

// "n selected individuals(first to last)" for the questions about several individuals.
std::string SeveralNamed(const TDataProj& project, const std::vector<int>& chosen) {
  return std::to_string(chosen.size()) + " selected individuals(" +
         project.IndividName(chosen.front()) + " to " + project.IndividName(chosen.back()) + ")";
}

bool Usable(const EditorContext& ctx) {
  return !ctx.locked;
}

}  // namespace

int AddNumberedIndividual(EditorContext& ctx) {
  if (!Usable(ctx)) return -1;
  TIndivid ind;
  ind.indName = "Individ" + std::to_string(ctx.project.IndividCount() + 1);
  ctx.modified = true;
  return ctx.project.AddIndivid(std::move(ind));
}

int DeleteIndividuals(EditorContext& ctx, const std::vector<int>& indexes) {
  const std::vector<int> chosen = Chosen(ctx.project, indexes);
  if (!Usable(ctx) || chosen.empty()) return 0;
  IMessages& ask = ctx.services.messages;
  const bool one = chosen.size() == 1;
  const std::string question = one ? "Delete individual " + ctx.project.IndividName(chosen[0]) + "?"
                                   : "Delete " + SeveralNamed(ctx.project, chosen) + "?";
  if (!ask.AskYesNo(question)) return 0;
  const std::string whom = one ? "selected individual" : "selected individuals";
  const bool withSeqs =
      ask.AskYesNo("Delete all sequences associated with " + whom + "?") &&
      ask.AskYesNo("Are you sure  you want to delete all sequences associated with " + whom +
                   "? There is NO UNDO for this action!");
  const int removed = ctx.project.DeleteIndividsAt(chosen, withSeqs);
  if (removed > 0) ctx.modified = true;
  return removed;
}

int RemoveEmptyIndividuals(EditorContext& ctx) {
  if (!Usable(ctx) ||
      !ctx.services.messages.AskYesNo(
          "Delete \"empty\" individuals, which have no sequences assigned to them?"))
    return -1;
  std::unordered_set<int> linked;
  for (int d = 0; d < ctx.project.DatasetCount(); ++d) {
    const TDataSeq& ds = *ctx.project.DatasetAt(d);
    for (int r = 1; r <= ds.Count(); ++r) linked.insert(ds.SeqAt(r)->individId);
  }
  std::vector<int> empty;
  for (int i = 0; i < ctx.project.IndividCount(); ++i)
    if (linked.count(ctx.project.Individs()[static_cast<std::size_t>(i)].indKey) == 0)
      empty.push_back(i);
  const int removed = ctx.project.DeleteIndividsAt(empty, false);
  if (removed > 0) ctx.modified = true;
  ctx.services.messages.Notify(removed == 0 ? std::string("No individuals were deleted.")
                               : removed == 1
                                   ? std::string("One individual was deleted.")
                                   : std::to_string(removed) + " individuals were deleted.");
  return removed;
}

int AutolinkNames(TDataProj& project) {
  const auto& individs = project.Individs();
  std::vector<std::string> names;
  names.reserve(individs.size());
  for (const TIndivid& ind : individs) names.push_back(Lower(ind.indName));
  std::vector<std::string> seqNames;
  std::set<std::size_t> nameLengths, seqLengths;
  for (const std::string& n : names)
    if (!n.empty()) nameLengths.insert(n.size());
  for (int d = 0; d < project.DatasetCount(); ++d) {
    const TDataSeq& ds = *project.DatasetAt(d);
    for (int r = 1; r <= ds.Count(); ++r) {
      seqNames.push_back(Lower(ds.SeqAt(r)->seqName));
      if (!seqNames.back().empty()) seqLengths.insert(seqNames.back().size());
    }
  }
  // The last individual of each name, and of each piece of a name as long as some sequence
  // name: a sequence then needs one lookup for "its name lies in an individual's" and, for
  // "an individual's name lies in it", one per position and individual-name length.
  std::unordered_map<std::string_view, int> whole, pieces;
  for (int i = 0; i < static_cast<int>(names.size()); ++i) {
    const std::string_view n = names[static_cast<std::size_t>(i)];
    if (n.empty()) continue;
    whole[n] = i;
    for (const std::size_t len : seqLengths) {
      if (len > n.size()) break;
      for (std::size_t at = 0; at + len <= n.size(); ++at) pieces[n.substr(at, len)] = i;
    }
  }
  int unlinked = 0;
  std::size_t k = 0;
  for (int d = 0; d < project.DatasetCount(); ++d) {
    TDataSeq& ds = *project.DatasetAt(d);
    for (int r = 1; r <= ds.Count(); ++r) {
      const std::string_view s = seqNames[k++];
      int best = -1;
      if (!s.empty()) {
        if (const auto it = pieces.find(s); it != pieces.end()) best = it->second;
        for (const std::size_t len : nameLengths) {
          if (len > s.size()) break;
          for (std::size_t at = 0; at + len <= s.size(); ++at)
            if (const auto it = whole.find(s.substr(at, len)); it != whole.end())
              best = std::max(best, it->second);
        }
      }
      TSeq& seq = *ds.SeqAt(r);
      seq.individId = best < 0 ? -1 : individs[static_cast<std::size_t>(best)].indKey;
      seq.groupNum = best < 0 ? -1 : individs[static_cast<std::size_t>(best)].indGroup;
      if (best < 0) ++unlinked;
    }
    ds.InvalidateMutHolders();
  }
  return unlinked;
}

int AutolinkSequences(EditorContext& ctx) {
  if (!Usable(ctx) ||
      !ctx.services.messages.AskYesNo(
          "Attempt to autolink sequences to individuals?\r\nSequence names have to contain names "
          "of individuals,\r\nor names of individuals have to contain sequence names."))
    return -1;
  const int unlinked = AutolinkNames(ctx.project);
  ctx.modified = true;
  ctx.services.messages.Notify(
      unlinked == 0 ? std::string("All sequences were successfully assigned to individuals.\r\n"
                                  "Please check that assignment was done correctly.")
      : unlinked == 1
          ? std::string("One sequence were not assigned to any individuals")
          : std::to_string(unlinked) + " sequences were not assigned to any individuals");
  return unlinked;
}

int CreateIndividForEachSeq(EditorContext& ctx, const std::vector<SeqListItem>& items) {
  if (!Usable(ctx) ||
      !ctx.services.messages.AskYesNo("Create an individual for each sequence in the dataset?"))
    return -1;
  int made = 0;
  for (const SeqListItem& item : items) {
    TDataSeq* ds = item.dsIndex >= 0 && item.dsIndex < ctx.project.DatasetCount()
                       ? ctx.project.DatasetAt(item.dsIndex)
                       : nullptr;
    const TSeq* s = ds != nullptr ? ds->SeqAt(item.row) : nullptr;
    if (s == nullptr) continue;
    int index = ctx.project.IndividIndexByName(s->seqName);
    if (index < 0) {
      TIndivid ind;
      ind.indName = s->seqName;
      ctx.project.AddIndivid(std::move(ind));
      index = ctx.project.IndividCount() - 1;
      ++made;
    }
    LinkSeq(ctx.project, item, ctx.project.Individs()[static_cast<std::size_t>(index)].indKey);
    ctx.modified = true;
  }
  return made;
}

int AddIndividsToGroup(EditorContext& ctx, const std::vector<int>& indexes, int groupIndex) {
  const std::vector<int> chosen = Chosen(ctx.project, indexes);
  if (!Usable(ctx) || chosen.empty()) return 0;
  IMessages& ask = ctx.services.messages;
  if (ctx.project.GroupCount() == 0) {
    ask.Notify("To add individuals to a group please create the group first.");
    return 0;
  }
  if (groupIndex < 0 || groupIndex >= ctx.project.GroupCount()) {
    ask.Notify("To add individuals to a group please select the group in the project tree.");
    return 0;
  }
  const std::string who = chosen.size() == 1
                              ? "individual " + ctx.project.IndividName(chosen[0])
                              : std::to_string(chosen.size()) + " selected individuals";
  if (!ask.AskYesNo("Add " + who + " to group " + ctx.project.GroupName(groupIndex) + "?"))
    return 0;
  const int groupKey = ctx.project.GroupKeyAt(groupIndex);
  for (int i : chosen)
    ctx.project.SetIndividGroupByKey(ctx.project.Individs()[static_cast<std::size_t>(i)].indKey,
                                     groupKey);
  ctx.modified = true;
  return static_cast<int>(chosen.size());
}

int RemoveIndividsFromGroup(EditorContext& ctx, const std::vector<int>& indexes) {
  const std::vector<int> chosen = Chosen(ctx.project, indexes);
  if (!Usable(ctx) || chosen.empty()) return 0;
  const std::string question =
      chosen.size() == 1
          ? "Delete group assignment for individual " + ctx.project.IndividName(chosen[0]) + "?"
          : "Delete group assignment for " + SeveralNamed(ctx.project, chosen) + "?";
  if (!ctx.services.messages.AskYesNo(question)) return 0;
  for (int i : chosen)
    ctx.project.SetIndividGroupByKey(ctx.project.Individs()[static_cast<std::size_t>(i)].indKey,
                                     -1);
  ctx.modified = true;
  return static_cast<int>(chosen.size());
}

bool SortIndividuals(EditorContext& ctx) {
  if (!Usable(ctx) || ctx.project.IndividCount() < 2) return false;
  ctx.project.SortIndividsByName();
  ctx.modified = true;
  return true;
}

std::string ProposedColumnName(const TDataProj& project) {
  return "Col_" + std::to_string(TableColumns(project).Count());
}

bool AddTableColumn(EditorContext& ctx, const std::string& name) {
  if (!Usable(ctx) || name.empty()) return false;
  for (const std::string& h : TableColumns(ctx.project).headers)
    if (SameNameIgnoringCase(h, name)) {
      ctx.services.messages.Notify("Error: column names should be unique.");
      return false;
    }
  ctx.project.AddAttributeColumn(name);
  ctx.modified = true;
  return true;
}

bool DeleteTableColumn(EditorContext& ctx, int column) {
  if (!Usable(ctx)) return false;
  const IndividColumns columns = TableColumns(ctx.project);
  if (column < 0 || column >= columns.Count()) return false;
  // "#", "Individ", "Comment" and the three columns after them stay, as the notice says of
  // the five after the row number.
  if (column < 6) {
    ctx.services.messages.Notify("The first five columns are permanent and can not be deleted");
    return false;
  }
  const std::string& name = columns.headers[static_cast<std::size_t>(column)];
  for (int i = 0; i < ctx.project.IndividCount(); ++i)
    if (auto* attributes = ctx.project.IndividAt(i)->attributes.Held())
      std::erase_if(*attributes,
                    [&](const sir& a) { return SameNameIgnoringCase(a.sirName, name); });
  ctx.modified = true;
  return true;
}

bool AskExtractIndividuals(EditorContext& ctx, const std::vector<int>& indexes) {
  const std::vector<int> chosen = Chosen(ctx.project, indexes);
  if (!Usable(ctx) || chosen.empty()) return false;
  return ctx.services.messages.AskYesNo(
      chosen.size() == 1
          ? "Extract individual " + ctx.project.IndividName(chosen[0]) + " to separate project?"
          : "Extract " + SeveralNamed(ctx.project, chosen) + " to separate project?");
}

std::unique_ptr<TDataProj> ExtractIndividuals(const TDataProj& project, Services& services,
                                              const std::vector<int>& indexes) {
  auto out = std::make_unique<TDataProj>(services);
  out->projName = project.projName;
  out->projComment = project.projComment;
  std::vector<int> chosen = Chosen(project, indexes);
  std::sort(chosen.begin(), chosen.end());  // the new project keeps the order of this one
  std::unordered_set<int> keys, groupKeys;
  for (int i : chosen) {
    const TIndivid& ind = project.Individs()[static_cast<std::size_t>(i)];
    keys.insert(ind.indKey);
    // The group with its ancestors, so the hierarchy reads the same in the new project.
    for (int g = ind.indGroup, steps = 0; g != -1 && steps <= project.GroupCount(); ++steps) {
      const int gi = project.GroupIndexByKey(g);
      if (gi < 0 || !groupKeys.insert(g).second) break;
      g = project.Groups()[static_cast<std::size_t>(gi)].grpParent;
    }
  }
  for (const TGroup& g : project.Groups())
    if (groupKeys.count(g.grpKey) > 0) out->AddGroup(g);
  for (int i : chosen) out->AddIndivid(project.Individs()[static_cast<std::size_t>(i)]);
  for (int d = 0; d < project.DatasetCount(); ++d) {
    const TDataSeq& ds = *project.DatasetAt(d);
    std::vector<int> others;
    for (int r = 1; r <= ds.Count(); ++r)
      if (keys.count(ds.SeqAt(r)->individId) == 0) others.push_back(r);
    if (static_cast<int>(others.size()) == ds.Count()) continue;
    std::unique_ptr<TDataSeq> copy = out->MakeDataset();
    ds.CopyTo(*copy);
    copy->DeleteSeqs(others);
    copy->InvalidateMutHolders();
    out->AddDataset(copy, false);
  }
  if (out->DatasetCount() > 0) out->SetCurrent(0);
  return out;
}
