// SPDX-License-Identifier: GPL-3.0-or-later
// The editor window's Options > Colors items: the colour slots an editor may change in its
// own grid (the program scheme reaches it again at the window's next renewal).
#pragma once
#include <array>

struct EditorColorItem {
  int slot;
  const char* caption;
};

const std::array<EditorColorItem, 18>& EditorColorItems();
