// Nothing typed is lost: closing Configure Receiver or the marker utility in
// any way with unsaved changes asks to save them (Yes / No / Cancel).
#include "configure_receiver_dialog.h"
#include "marker_rig.h"
#include "marker_utility_window.h"
#include "template_editor_page.h"
#include "user_list_page.h"

#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace tarnwick::ui {
namespace {

namespace fs = std::filesystem;
using testing::control;
using testing::MarkerRig;
using testing::type;

enum class Window { ConfigureReceiver, MarkerTemplate, MarkerUserList };
enum class CloseBy { Exit, CloseBox, Escape };
enum class Edit { Some, None };

struct Case {
  Window window;
  Edit edit;
  CloseBy by;
  Answer answer; // to the save question
  bool closes;
  bool saves;
};

constexpr Case kCases[] = {
    {Window::ConfigureReceiver, Edit::Some, CloseBy::Exit, Answer::Yes, true, true},
    {Window::ConfigureReceiver, Edit::Some, CloseBy::CloseBox, Answer::No, true, false},
    {Window::ConfigureReceiver, Edit::Some, CloseBy::Escape, Answer::Cancel, false, false},
    {Window::ConfigureReceiver, Edit::None, CloseBy::Escape, Answer::Cancel, true, false},
    {Window::MarkerTemplate, Edit::Some, CloseBy::Exit, Answer::Cancel, false, false},
    {Window::MarkerTemplate, Edit::Some, CloseBy::CloseBox, Answer::Yes, true, true},
    {Window::MarkerTemplate, Edit::Some, CloseBy::Escape, Answer::No, true, false},
    {Window::MarkerUserList, Edit::Some, CloseBy::Exit, Answer::Yes, true, true},
    {Window::MarkerUserList, Edit::Some, CloseBy::Escape, Answer::Cancel, false, false},
    {Window::MarkerUserList, Edit::None, CloseBy::CloseBox, Answer::Cancel, true, false},
};

// Centimetres instead of inches.
void editConfiguration(ConfigureReceiverDialog &dialog) {
  QTest::mouseClick(dialog.findChild<QRadioButton *>(QStringLiteral("units0")), Qt::LeftButton);
}

void editTemplate(MarkerUtilityWindow &window) {
  TemplateEditorPage &page = *window.templatePage();
  QTest::mouseClick(control<QRadioButton>(page, 1005), Qt::LeftButton);
  type(*control<QComboBox>(page, 1106), "Owner");
}

// The "*New" list gets the first label of the glossary.
void editUserList(MarkerUtilityWindow &window) {
  UserListPage &page = *window.userListPage();
  control<QListWidget>(page, UserListEditor::kAllLabelsBox)->item(0)->setSelected(true);
  QTest::mouseClick(control<QPushButton>(page, UserListEditor::kAddLabelsButton), Qt::LeftButton);
}

void close(QDialog &dialog, CloseBy by) {
  switch (by) {
  case CloseBy::Exit:
    QTest::mouseClick(control<QPushButton>(dialog, 1), Qt::LeftButton);
    return;
  case CloseBy::CloseBox:
    dialog.close();
    return;
  case CloseBy::Escape:
    QTest::keyClick(&dialog, Qt::Key_Escape);
    return;
  }
}

std::vector<std::string> questions(const ScriptedUser &user) {
  std::vector<std::string> asked;
  for (const auto &event : user.events()) {
    if (event.kind == ScriptedUser::Kind::Ask) {
      asked.push_back(event.text);
    }
  }
  return asked;
}

TEST(ClosingQuestions, unsavedChangesAskToBeSavedWhicheverWayTheDialogCloses) {
  for (const Case &test : kCases) {
    SCOPED_TRACE(::testing::Message()
                 << "window " << static_cast<int>(test.window) << ", edit "
                 << static_cast<int>(test.edit) << ", close " << static_cast<int>(test.by)
                 << ", answer " << static_cast<int>(test.answer));
    MarkerRig rig;
    std::unique_ptr<QDialog> dialog;
    std::string name; // what the question names
    bool saved = false;
    std::function<bool()> wasSaved;
    if (test.window == Window::ConfigureReceiver) {
      auto configure = std::make_unique<ConfigureReceiverDialog>(
          rig.app.context(), rig.app.tree(), rig.app.configuration(), rig.app.countrySource());
      configure->show();
      if (test.edit == Edit::Some) {
        editConfiguration(*configure);
      }
      rig.user.queueSaveFile("kept.cfg");
      name = "untitled.cfg";
      wasSaved = [&rig] { return fs::exists(rig.at("Config/kept.cfg")); };
      dialog = std::move(configure);
    } else {
      auto window = std::make_unique<MarkerUtilityWindow>(*rig.session);
      window->show();
      const bool templates = test.window == Window::MarkerTemplate;
      if (test.edit == Edit::Some) {
        templates ? editTemplate(*window) : editUserList(*window);
      }
      if (templates) {
        rig.user.queueSaveFile(rig.at("Templates/Kept.utl").string());
        name = "untitled.utl";
        wasSaved = [&rig] { return fs::exists(rig.at("Templates/Kept.utl")); };
      } else {
        rig.user.queuePrompt("Kept");
        name = "*New";
        wasSaved = [&rig] { return rig.session->templates().userLists.contains("Kept"); };
      }
      dialog = std::move(window);
    }
    rig.user.clear();
    rig.user.queueAnswer(test.answer);
    close(*dialog, test.by);
    saved = wasSaved();

    const std::vector<std::string> expected =
        test.edit == Edit::Some
            ? std::vector<std::string>{"Do you want to save the changes you made to " + name + " ?"}
            : std::vector<std::string>{};
    EXPECT_EQ(questions(rig.user), expected);
    EXPECT_EQ(!dialog->isVisible(), test.closes);
    EXPECT_EQ(saved, test.saves);
  }
}

} // namespace
} // namespace tarnwick::ui
