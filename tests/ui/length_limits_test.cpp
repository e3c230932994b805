// Boxes with a length limit stop typing at it and count down: the Name
// dialog and the template name typed in the save dialog.
#include "gui_helpers.h"
#include "prompt_dialog.h"
#include "qt_user_port.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace tarnwick::ui {
namespace {

using testing::control;
using testing::ModalResponder;

TEST(LengthLimits, theNameDialogStopsAtItsMaximumAndCountsDown) {
  QtUserPort user(QStringLiteral("Tarnwick"));
  QString afterTwo;
  QString atLimit;
  ModalResponder responder([&](QWidget &modal) {
    auto *edit = modal.findChild<QLineEdit *>(QStringLiteral("edit"));
    auto *counter = modal.findChild<QLabel *>(QStringLiteral("charactersLeft"));
    QTest::keyClicks(edit, QStringLiteral("Ga"));
    afterTwo = counter->text();
    QTest::keyClicks(edit, QStringLiteral("sMain"));
    atLimit = counter->text();
    control<QPushButton>(modal, 1)->click();
  });
  PromptSpec spec;
  spec.title = "User List Name";
  spec.label = "Enter a User List name less than 5 chars";
  spec.maxLength = 5;
  EXPECT_EQ(user.prompt(spec), std::optional<std::string>("GasMa"));
  EXPECT_EQ(afterTwo, QStringLiteral("3 characters left"));
  EXPECT_EQ(atLimit, QStringLiteral("0 characters left"));
}

// The extension and the folder do not count against a template name's 15.
TEST(LengthLimits, theSaveDialogStopsATemplateNameAtFifteen) {
  QtUserPort user(QStringLiteral("Tarnwick"));
  QTemporaryDir scratch;
  QString typed;
  QString label;
  ModalResponder responder([&](QWidget &modal) {
    auto &dialog = dynamic_cast<QFileDialog &>(modal);
    auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("GasValveNorthSide7.utl"));
    typed = edit->text();
    label = dialog.labelText(QFileDialog::FileName);
    dialog.reject();
  });
  FileSpec spec{"Save As", "Template Files(*.utl)|*.utl|", scratch.path().toStdString(), ""};
  EXPECT_FALSE(user.saveFileLimited(spec, 15, ".utl").has_value());
  EXPECT_EQ(typed, QStringLiteral("GasValveNorthSi.utl"));
  EXPECT_EQ(label, QStringLiteral("File name: (0 characters left)"));
}

} // namespace
} // namespace tarnwick::ui
