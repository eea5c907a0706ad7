// SPDX-License-Identifier: GPL-3.0-or-later
// The phylogram painter: branches, branch lengths, leaf labels and supports.
#include "ui/trees/TreeDrawing.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "common/NumberFormat.h"
#include "trees/TreeLayout.h"
#include "trees/TreeRooting.h"
#include "trees/TreeTexts.h"

namespace {

int Round(double v) {
  return RoundHalfEvenInt(v);
}

// Texts are placed by their top left, as the layout rules give them; Qt draws at baselines.
void TextAt(QPainter& p, const QFont& font, int x, int top, const QString& text) {
  p.setFont(font);
  p.drawText(x, top + QFontMetrics(font).ascent(), text);
}

void ApplyStyle(TTree& tree, const TreeDrawStyle& s) {
  const QRgb rgb = s.branchColor.rgb();
  const std::int32_t bgr = qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16);
  for (auto& node : tree.nodes) {
    node->showSupport = s.showSupport && SupportPercent(node->support) >= s.minSupportShown;
    for (NodeLink& l : node->links) {
      l.color = bgr;
      l.thickness = s.thickness;
      l.digits = s.digits;
      l.style = static_cast<std::uint8_t>(s.style);
      l.penStyle = 0;
      l.showLength = s.showLengths && l.branchLength > s.minLengthShown;
    }
  }
}

void DrawBranches(QPainter& p, const TTree& tree, const TreeGeometry& g, const TreeDrawStyle& s) {
  const QPen saved = p.pen();
  const QFontMetrics lengthMetrics(s.lengthFont);
  const int fontSize = s.lengthFont.pointSize() > 0 ? s.lengthFont.pointSize() : 8;
  for (const auto& node : tree.nodes) {
    const Node* parent = node->Parent();
    if (!parent) continue;
    const NodeLink& up = *node->ParentLink();
    QPen pen(s.branchColor, up.thickness, Qt::SolidLine, Qt::FlatCap);
    p.setPen(pen);
    const int x = g.X(node->depth), y = g.Y(node->yPos);
    const int px = g.X(parent->depth);
    const int half = Round(up.thickness / 2.0);
    if (up.style == 0) {
      p.drawLine(x, y, px, Round(parent->yPos * g.sy + g.originY + 21));
      continue;
    }
    const int xp = Round(parent->depth * g.sx) + Round(g.originX) + 5;
    const int yp = g.Y(parent->yPos);
    p.drawLine(x, y, xp - half, y);
    p.drawLine(xp, y < yp ? y - half : y + half, xp, yp);
    if (!up.showLength) continue;
    std::string text = FormatFixed(up.branchLength, up.digits);
    if (static_cast<int>(text.size()) < up.digits + 3)
      text.insert(0, static_cast<std::size_t>(up.digits + 3) - text.size(), ' ');
    const QString label = QString::fromLatin1(text.c_str());
    const double span = (node->depth - parent->depth) * g.sx;
    if (span > lengthMetrics.horizontalAdvance(label) + 8) {
      p.setPen(saved);
      TextAt(p, s.lengthFont, Round(parent->depth * g.sx + g.originX + span / 2) - fontSize,
             y - 2 * fontSize + 3 - half, label);
    }
  }
  p.setPen(saved);
}

void DrawLabels(QPainter& p, const TTree& tree, const TreeGeometry& g, const TreeDrawStyle& s) {
  const QFontMetrics supportMetrics(s.supportFont);
  for (const auto& node : tree.nodes) {
    if (!node->isInternal) {
      TextAt(p, s.labelFont, Round(node->depth * g.sx + g.originX + 7),
             Round(node->yPos * g.sy + g.originY + 14), QString::fromLatin1(node->name.c_str()));
      continue;
    }
    if (!node->showSupport || node->support <= -1 || !node->Parent()) continue;
    const QString text = QString::number(Round(SupportPercent(node->support)));
    const int width = supportMetrics.horizontalAdvance(text);
    if (!(Round(node->BranchLength() * g.sx + g.originX + 5) > 1.5 * width)) continue;
    TextAt(p, s.supportFont, Round(node->depth * g.sx + g.originX) - width,
           Round(supportMetrics.height() + node->yPos * g.sy + g.originY + 5), text);
  }
}

// A bar of a round length under the tree's left end, so branch lengths can be read off it.
void DrawScaleBar(QPainter& p, const TTree& tree, const TreeGeometry& g, const TreeDrawStyle& s) {
  const double length = ScaleBarLength(tree.maxDepth);
  if (!(length > 0)) return;
  const int x0 = g.X(0), x1 = g.X(length);
  const int y = g.Y(tree.maxYPos) + 14;
  const QPen saved = p.pen();
  p.setPen(QPen(s.branchColor, 2, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(x0, y, x1, y);
  p.drawLine(x0, y - 4, x0, y + 4);
  p.drawLine(x1, y - 4, x1, y + 4);
  p.setPen(saved);
  const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(length) + 1e-9)));
  const QString text = QString::fromLatin1(FormatFixed(length, decimals).c_str());
  const QFontMetrics fm(s.lengthFont);
  TextAt(p, s.lengthFont, (x0 + x1 - fm.horizontalAdvance(text)) / 2, y + 5, text);
}

bool HasBranchLengths(const TTree& tree) {
  for (const auto& node : tree.nodes)
    if (node->BranchLength() > 0) return true;
  return false;
}

}  // namespace

std::string DrawTree(QPainter& painter, TTree& tree, const TreeDrawStyle& style, QPoint origin,
                     int width, int height) {
  // Unit lengths stand in for missing ones in the layout; a scale for them would mislead.
  const bool lengths = HasBranchLengths(tree);
  const std::string failure = LayoutTree(tree);
  if (!failure.empty()) return failure;
  ApplyStyle(tree, style);
  const TreeGeometry g(tree, width, height, origin.x(), origin.y());
  painter.setRenderHint(QPainter::Antialiasing, false);
  DrawBranches(painter, tree, g, style);
  DrawLabels(painter, tree, g, style);
  if (lengths && style.showScaleBar) DrawScaleBar(painter, tree, g, style);
  return {};
}

std::string PaintTreeText(QPainter& painter, const std::string& text, const TreeDrawStyle& style,
                          QPoint origin, int width, int height) {
  std::string shown;
  TTree tree;
  std::optional<std::string> extracted;
  if (text.empty()) {
    shown = kEmptyTreeText;
  } else if (!(extracted = ExtractTree(text))) {
    shown = kBracketErrorText;
  } else if (!tree.ReadBrackets(*extracted)) {
    shown = kParseErrorText;
  } else {
    if (!style.rootOn.empty()) RootOnLeaves(tree, style.rootOn);
    const std::string failure = DrawTree(painter, tree, style, origin, width, height);
    if (failure.empty()) return {};
    shown = failure + "\r\n" + kDrawErrorText;
  }
  painter.setFont(style.labelFont);
  const QFontMetrics fm(style.labelFont);
  int y = 2;
  for (const QString& line : QString::fromLatin1(shown.c_str()).split("\r\n")) {
    painter.drawText(2, y + fm.ascent(), line);
    y += fm.height();
  }
  return shown;
}

int LabelMargin(const std::string& text, const TreeDrawStyle& style) {
  TTree tree;
  const std::optional<std::string> extracted = ExtractTree(text);
  if (!extracted || !tree.ReadBrackets(*extracted)) return 400;
  const QFontMetrics fm(style.labelFont);
  int widest = 0;
  for (const auto& node : tree.nodes)
    if (!node->isInternal)
      widest = std::max(widest, fm.horizontalAdvance(QString::fromLatin1(node->name.c_str())));
  return widest + 20;
}
