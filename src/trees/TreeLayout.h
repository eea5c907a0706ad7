// SPDX-License-Identifier: GPL-3.0-or-later
// Layout of a rooted phylogram: node depths from the branch lengths, rows from a walk that
// puts the last leaf on top, and the scaling of both to pixels. The viewer paints from it.
#pragma once
#include <string>

#include "trees/TreeUnit.h"

// When no edge has a positive length, every leaf in node order gives itself and each of its
// ancestors the length 1 / (edges from the leaf to the root); later leaves overwrite.
void UnitLengthsIfNone(TTree& tree);

// depth of every node (distance from the root); the tree keeps the largest leaf depth and the
// number of leaves. False when the tree has no single root.
bool LayoutDepths(TTree& tree);

// yPos of every node: the last leaf 1, the other leaves 2, 3, ... in walk order, an inner
// node the mean of its children. Empty text on success, else what went wrong ("Tree error!").
std::string LayoutRows(TTree& tree);

// All three steps; empty text on success.
std::string LayoutTree(TTree& tree);

// Node points in pixels: X = round(depth sx + originX + 5), Y = round(yPos sy + originY + 20),
// with sx = width / largest depth and sy = height / largest yPos.
struct TreeGeometry {
  double sx = 1, sy = 1;
  double originX = 1, originY = 1;
  TreeGeometry(const TTree& tree, double width, double height, double originX, double originY);
  [[nodiscard]] int X(double depth) const;
  [[nodiscard]] int Y(double yPos) const;
};

// The support as the viewer shows it: a proportion (0..1) as percent, other numbers as read.
double SupportPercent(double support);
