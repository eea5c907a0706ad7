// SPDX-License-Identifier: GPL-3.0-or-later
// The user guide ships with the program: Help > User guide and every dialog's Help button open
// it, the dialog's at the section on its analysis.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>

#include "ShellFixture.h"
#include "model/DataProjUnit.h"
#include "ui/analysis/DNApolDbox.h"
#include "ui/shell/HelpWindow.h"

TEST(UserGuide, HelpMenuAndDialogHelpButtonsOpenTheGuideAtTheirSection) {
  const QString guide = UserGuideText();
  // The sections the guide promises: files, groups, every analysis with its papers, the
  // command-line tool and many loci.
  for (const char* part : {"## Opening files", "Import groups...", "Tajima 1989",
                           "Hudson, Slatkin and Maddison 1992", "Saitou and Nei 1987",
                           "## The command-line tool", "## Many loci"})
    EXPECT_TRUE(guide.contains(QLatin1String(part))) << part;

  ShellFixture f;
  f.Action("UserGuide1")->trigger();
  auto* help = f.form->findChild<THelpForm*>();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->Browser()->toPlainText().startsWith("Nodrix3 user guide"));

  TDataProj project(f.form->GetServices());
  TDNApolymDbox* dialog = NewDNApolDbox(*f.form);
  ASSERT_TRUE(dialog->InitData(&project));
  dialog->HelpButton->click();
  EXPECT_EQ(f.form->findChildren<THelpForm*>().size(), 1);  // the same window, not a second
  EXPECT_EQ(help->Browser()->textCursor().block().text(), "DNA polymorphism");
  EXPECT_EQ(HelpTopicFor("Analyse LD"), "Linkage disequilibrium");
}
