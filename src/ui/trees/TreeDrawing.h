// SPDX-License-Identifier: GPL-3.0-or-later
// Painting a bracket tree as a rooted phylogram on any QPainter (screen, PNG, SVG).
#pragma once
#include <QColor>
#include <QFont>
#include <QPoint>
#include <string>
#include <vector>

class QPainter;
class TTree;

struct TreeDrawStyle {
  QColor branchColor = Qt::black;
  int digits = 3;
  int thickness = 5;
  double minLengthShown = 0;
  double minSupportShown = 50;  // percent
  bool showLengths = true;
  bool showSupport = false;
  int style = 2;  // 2 normal (rectangular), 0 V-like
  QFont lengthFont, labelFont, supportFont;
  bool showScaleBar = true;  // under the tree, when it has branch lengths
  // Leaves the drawing is rooted on before it is laid out (an outgroup, or a leaf the user
  // chose); empty: drawn as the text roots it. The tree text itself is not changed.
  std::vector<std::string> rootOn;
};

// Pixels below the tree that the scale bar and its label take.
inline constexpr int kScaleBarRoom = 36;

// The bracket messages drawn in place of a tree.
inline constexpr const char* kEmptyTreeText = "Empty tree!";
inline constexpr const char* kBracketErrorText =
    "Error in the \"brackets format\" tree.\r\nIt should have the same number of \"(\" and \")\" "
    "and should end with a \";\".";
inline constexpr const char* kParseErrorText =
    "Can not reconstruct the tree from the provided textual \"brackets format\" tree";
inline constexpr const char* kDrawErrorText = "Draw_Tree error";

// Lays out and draws tree (DrawTree); origin is the top left of the drawing, width and height
// the drawing size in pixels. Draws nothing and returns the reason when the layout fails.
std::string DrawTree(QPainter& painter, TTree& tree, const TreeDrawStyle& style, QPoint origin,
                     int width, int height);

// Draws the tree of a bracket text, or one of the messages above at the top left. Returns
// what was drawn instead of the tree, empty when the tree was drawn. Never raises a window:
// painting must not open message boxes.
std::string PaintTreeText(QPainter& painter, const std::string& text, const TreeDrawStyle& style,
                          QPoint origin, int width, int height);

// Width in pixels the leaf labels need to the right of the drawing.
int LabelMargin(const std::string& text, const TreeDrawStyle& style);
