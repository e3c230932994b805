// The Create/Edit Templates page (resource 216): shows the TemplateEditor's
// snapshot and calls its actions. A row's label or description is committed
// when its box is left, Return is pressed in it or an entry of its list is
// chosen; a refused edit shows the text the logic kept.
#pragma once

#include "string_table.h"
#include "template_editor.h"
#include "ui_text.h"

#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tarnwick::ui {

class TemplateEditorPage final : public QWidget {
  Q_OBJECT
public:
  // strings: the texts beside the memory usage.
  TemplateEditorPage(TemplateEditor &editor, const StringTable &strings, QWidget *parent = nullptr);
  ~TemplateEditorPage() override;

  TemplateEditor &logic() { return editor_; }

  // After the glossary language changed: the lists and the measure follow it.
  void reloadGlossary();
  // Shows the logic's state again.
  void refresh();

private:
  QWidget *makeKindGroup();
  QLayout *makeTemplateRows();
  QLayout *makeRowBoxes();
  QLayout *makeMemoryLine(const StringTable &strings);
  QLayout *makeButtons();
  QComboBox *makeRowBox(int id, int characters);
  void limitRowBox(QComboBox &box, bool label);
  void showCharactersLeft();
  QString shownChoice(const std::string &text) const;
  void chooseKind(TemplateKind kind);
  void commitLabel(std::size_t row);
  void commitDescription(std::size_t row, const QString &text);
  void showRows(const TemplateEditor::Snapshot &snapshot);

  TemplateEditor &editor_;
  DialogTexts texts_;
  QRadioButton *markerKind_ = nullptr;
  QRadioButton *traceKind_ = nullptr;
  QComboBox *templateName_ = nullptr;
  QComboBox *userList_ = nullptr;
  std::array<QComboBox *, TemplateEditor::kRows> labels_{};
  std::array<QComboBox *, TemplateEditor::kRows> descriptions_{};
  // The texts the boxes showed after the last refresh, to tell an edit.
  std::array<QString, TemplateEditor::kRows> shownLabels_;
  std::array<QString, TemplateEditor::kRows> shownDescriptions_;
  QLabel *memoryUsage_ = nullptr;
  QLabel *remaining_ = nullptr;
  QLabel *remainingSuffix_ = nullptr;
  // How many characters the focused label or description box may still take.
  QLabel *labelsLeft_ = nullptr;
  QLabel *descriptionsLeft_ = nullptr;
  QComboBox *counted_ = nullptr; // the box they count for; null: hidden
  bool refreshing_ = false;
};

} // namespace tarnwick::ui
