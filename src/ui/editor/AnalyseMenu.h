// SPDX-License-Identifier: GPL-3.0-or-later
// The editor window's Analyse menu as a table: each item names the dialog it opens and the
// factory that makes (or activates) it, or the command it runs on the window. Items with
// neither are shown disabled.
#pragma once
#include <QString>
#include <functional>
#include <vector>

class QMenu;
class TBaseDialogBox;
class TMainForm;
class TSeqGridFrm;

struct AnalyseMenuItem {
  QString caption;
  const char* objectName;
  // Used in "Can not initialise data for the " + dialogName + " dialog box".
  const char* dialogName;
  std::function<TBaseDialogBox*(TMainForm&)> factory;  // empty: not available yet
  std::function<void(TSeqGridFrm&)> command{};         // an item that runs instead of a dialog
};

const std::vector<AnalyseMenuItem>& AnalyseMenuItems();
// The tool dialogs of the Dataset and Project menus, opened the way the Analyse items are.
const AnalyseMenuItem& FilterSitesItem();
const AnalyseMenuItem& SubsamplesItem();
const AnalyseMenuItem& BootstrapItem();

// Opens the item's dialog on the window's project; a dialog that cannot take the project is
// closed again after the notice.
void RunAnalyseItem(const AnalyseMenuItem& item, TSeqGridFrm& window);

// Adds the items to `menu`, each bound to `window`.
void FillAnalyseMenu(QMenu* menu, TSeqGridFrm& window);
