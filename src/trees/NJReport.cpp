// SPDX-License-Identifier: GPL-3.0-or-later
// Report text of a neighbour-joining run.
#include <algorithm>
#include <cmath>

#include "common/NumberFormat.h"
#include "common/StepTicker.h"
#include "trees/NJTreeUnit.h"

namespace {

std::string RightAligned(std::string text, std::size_t width) {
  if (text.size() > width) text.resize(width);
  return std::string(width - text.size(), ' ') + text;
}

std::string AtLeast(std::string text, std::size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

}  // namespace

std::string ModelTitle(DistanceModel model) {
  switch (model) {
    case DistanceModel::JukesCantor:
      return "Jukes and Cantor distances";
    case DistanceModel::Kimura2P:
      return "Kimura (2 param) distances";
    case DistanceModel::Differences:
      return "Number of nucleotide differences";
  }
  return {};
}

std::string DistanceMatrixReport(const std::vector<std::string>& names,
                                 const DistanceMatrix& matrix, DistanceModel model, bool showSD,
                                 IProgress* progress) {
  std::size_t w = 4;
  for (const std::string& name : names) w = std::max(w, name.size());
  w = std::min<std::size_t>(w, 7);
  std::string out = "\r\n" + ModelTitle(model) + "\r\nK in lower left matrix";
  if (showSD) out += " and SD(K) in upper right one";
  out += "\r\n" + std::string(w + 2, ' ');
  for (const std::string& name : names) out += RightAligned(name, w + 1) + " ";
  out += "\r\n";
  const int n = std::min(matrix.n, static_cast<int>(names.size()));
  StepTicker ticker(progress, "Writing the distance matrix", n);
  for (int i = 0; i < n; ++i) {
    if (ticker.Tick(i)) break;
    out += RightAligned(names[static_cast<std::size_t>(i)], w + 1) + " ";
    for (int j = 0; j < n; ++j) {
      if (j == i) {
        out += std::string(w + 2, ' ');
        continue;
      }
      std::string cell;
      const double d = matrix.At(i, j);
      if (d < 0) {
        cell = "Err";  // undefined (saturated, or no site): neither the distance nor its SD
      } else if (j < i) {
        if (d == 0)
          cell = "0";
        else if (model == DistanceModel::Differences)
          cell = std::to_string(RoundHalfEven(d));
        else
          cell = FormatFixed(d, 3);
      } else {
        const double v = matrix.VarAt(i, j);
        cell = v < 0 ? "Err" : FormatFixed(v > 0 ? std::sqrt(v) : 0.0, 3);
      }
      out += AtLeast(cell, w + 1) + " ";
    }
    out += "\r\n";
  }
  return out;
}

std::string TerminalBranchLengths(const TTree& tree) {
  std::string out = "\r\nTerminal branch lengths:";
  for (const auto& node : tree.nodes) {
    if (node->isInternal) continue;
    for (const NodeLink& l : node->links)
      if (l.isParent)
        out += "\r\n" + node->name + " " + AtLeast(FormatFixed(std::fabs(l.branchLength), 3), 6);
  }
  return out + "\r\n";
}

std::string NeighborJoinReport(const std::vector<std::string>& names, const DistanceMatrix& matrix,
                               DistanceModel model, bool showSD, TTree& tree, IMessages* messages,
                               const std::function<void(TTree&)>& beforeWriting,
                               IProgress* progress) {
  std::string out = DistanceMatrixReport(names, matrix, model, showSD, progress);
  if (progress != nullptr && progress->cancelRequested()) {
    tree.Clear();
    return out;
  }
  if (tree.Count() != static_cast<int>(names.size()) || tree.LeafCount() != tree.Count())
    tree.LeavesFromNames(names);
  if (tree.Count() < 3 || matrix.n < 3) {
    tree.Clear();
    return out + "\r\nTo construct a tree at least three nodes are needed.";
  }
  const UndefinedDistances u = FindUndefined(matrix);
  if (u.count > 0) {
    out += "\r\nUndefined distances (saturated, or no site to compare) between " +
           std::to_string(u.count) + " pair(s), the first " + names[static_cast<std::size_t>(u.i)] +
           " and " + names[static_cast<std::size_t>(u.j)] + ": no tree is built.\r\n";
    NeighborJoin(tree, matrix, messages);  // reports the same to the message pane
    tree.Clear();
    return out;
  }
  if (!NeighborJoin(tree, matrix, messages, progress)) {
    const bool cancelled = progress != nullptr && progress->cancelRequested();
    tree.Clear();
    return cancelled ? out : out + "\r\nThe neighbor-joining tree could not be built.\r\n";
  }
  if (beforeWriting) beforeWriting(tree);
  out += "\r\nNeighbor-joining tree:\r\n" + tree.WriteBrackets(false) + "\r\n";
  return out + TerminalBranchLengths(tree);
}

std::string NJTreeTitle(const std::string& datasetName, const std::string& groupName,
                        bool wholeDataset) {
  return wholeDataset ? datasetName : datasetName + "_" + groupName;
}
