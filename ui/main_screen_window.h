// The main screen (resource 240): a modeless dialog that shows the
// MainScreen's state and calls its actions. The tool buttons open the tools
// registered for them; a tool not yet part of the program leaves its button
// disabled.
#pragma once

#include "main_screen.h"
#include "session.h"

#include <QDialog>
#include <QImage>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>

class QComboBox;
class QPushButton;

namespace tarnwick::ui {

class MainScreenWindow final : public QDialog {
  Q_OBJECT
public:
  using Tool = MainScreen::Tool;
  using ToolOpener = std::function<void(QWidget &parent)>;

  // Opens the logic (country list, saved country, languages, versions). The
  // Receiver Version tool, Configure Receiver and the marker utility are
  // registered; they work on the session's state.
  explicit MainScreenWindow(Session &session, QWidget *parent = nullptr);

  // The tool a button opens; an empty opener takes it away.
  void setToolOpener(Tool tool, ToolOpener opener);
  bool hasTool(Tool tool) const { return openers_.count(tool) != 0; }

  const MainScreen &logic() const { return logic_; }
  // The images painted now (null when none).
  const QImage &countryPicture() const { return countryPicture_; }
  const QImage &receiverPicture() const { return receiverPicture_; }

signals:
  // Exit or the close box: the program should end.
  void quitRequested();

protected:
  void paintEvent(QPaintEvent *event) override;
  void closeEvent(QCloseEvent *event) override;

public slots:
  // Escape does not end the program.
  void reject() override {}

private:
  void buildControls();
  QWidget *makeTopArea();
  void fillLists();
  void refresh();
  void loadPictures(const MainScreen::Snapshot &snapshot);
  void fitToDialogUnits();
  void onButton(Tool tool);
  void onExit();

  MainScreen logic_;
  Session &session_;
  std::map<int, QPushButton *> buttons_;
  QComboBox *countryList_ = nullptr;
  QComboBox *languageList_ = nullptr;
  QWidget *topArea_ = nullptr;
  std::map<Tool, ToolOpener> openers_;
  std::filesystem::path countryPicturePath_;
  std::filesystem::path receiverPicturePath_;
  QImage countryPicture_;
  QImage receiverPicture_;
  bool receiverPictureLoaded_ = false;
  bool quitting_ = false;
};

// The list image of a country: its file, or the built-in one when the file
// is missing or no image.
QImage countryListImage(const std::filesystem::path &file);

} // namespace tarnwick::ui
