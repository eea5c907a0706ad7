// SPDX-License-Identifier: GPL-3.0-or-later
// The per-group step of the neighbour-joining analysis and the gene-tree file.
#include "trees/NJAnalysis.h"

#include <QFile>

#include "common/Services.h"
#include "trees/NJTreeUnit.h"

std::string GeneTreeNotice(const NJTreeOptions& options) {
  return "Phylogenies for individual datasets were appended to file " + options.tableFileName +
         ".tree";
}

bool NJAnalyseGroup(const std::vector<std::string>& names, const DistanceMatrix& matrix,
                    const std::string& datasetName, const std::string& groupName, bool wholeDataset,
                    const NJTreeOptions& options, NJTreeRun& run, IMessages& messages,
                    TTree* leaves, const std::function<void(TTree&)>& beforeWriting,
                    IProgress* progress) {
  if (names.size() < 2) return true;
  if (!options.buildTree) {
    run.report += DistanceMatrixReport(names, matrix, options.model, options.showSD, progress);
    return true;
  }
  TTree own;
  TTree& tree = leaves != nullptr ? *leaves : own;
  run.report += NeighborJoinReport(names, matrix, options.model, options.showSD, tree, &messages,
                                   beforeWriting, progress);
  if (tree.Count() == 0) {
    ++run.missingTrees;
    return true;
  }
  const std::string text = tree.WriteBrackets(false);
  if (options.geneTree && (wholeDataset || options.popOut) &&
      !AppendGeneTree(options.tableFileName + ".tree", datasetName, text, messages)) {
    run.geneTreeFailed = true;
    return false;
  }
  run.trees.push_back({NJTreeTitle(datasetName, groupName, wholeDataset), text});
  return true;
}

bool AppendGeneTree(const std::string& path, const std::string& datasetName,
                    const std::string& bracketText, IMessages& messages) {
  QFile file(QString::fromLocal8Bit(path.c_str()));
  const std::string line = datasetName + "\t" + bracketText + "\r\n";
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append) ||
      file.write(line.data(), static_cast<qint64>(line.size())) !=
          static_cast<qint64>(line.size())) {
    messages.ReportError("Can not append the tree of " + datasetName + " to " + path + ": " +
                         file.errorString().toLocal8Bit().toStdString());
    return false;
  }
  return true;
}
