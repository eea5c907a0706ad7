// SPDX-License-Identifier: GPL-3.0-or-later
// Size rules of the main window's child windows.
#pragma once
#include <QPoint>
#include <QSize>

// `wanted` cut to what is left of the MDI area right of and below the window's corner `at`
// (and kept at least 160 x 120 where the area allows).
QSize FitWithinArea(QSize wanted, QSize area, QPoint at);
// A new editor window: its designed size, at least two thirds of the area each way.
QSize EditorWindowSize(QSize area);
