// The help viewer page (resource 264): the topics on the left, the selected
// topic's text on the right. A page of the marker utility; it has no caption.
#pragma once

#include "help_viewer.h"

#include <QWidget>

#include <string>

class QListWidget;
class QPlainTextEdit;

namespace tarnwick::ui {

// The bytes of a text file for display: UTF-8 when they are valid UTF-8,
// otherwise the single-byte Windows text the installation data often is.
QString displayText(const std::string &bytes);

class HelpViewerPage final : public QWidget {
  Q_OBJECT
public:
  // language: the user-interface language at start. Opens the logic.
  HelpViewerPage(const InstallTree &tree, std::string language, const StringTable &strings,
                 QWidget *parent = nullptr);

  const HelpViewer &logic() const { return logic_; }

private:
  void refresh();

  HelpViewer logic_;
  QListWidget *topics_;
  QPlainTextEdit *text_;
};

} // namespace tarnwick::ui
