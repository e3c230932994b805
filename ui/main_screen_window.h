// The main screen (resource 240): a modeless dialog that shows the
// MainScreen's state and calls its actions. The tool buttons open the tools
// registered for them; a tool not yet part of the program leaves its button
// disabled. A status bar shows the port, the last receiver identified and
// whether a tool talks to it; "Port..." opens Communication Options at any
// time no tool is talking.
#pragma once

#include "main_screen.h"
#include "session.h"
#include "ui_text.h"

#include <QDialog>
#include <QImage>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QStatusBar;

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

  // The status bar's three texts: port, receiver, activity.
  QStringList statusTexts() const;
  // Shows the link's state again (every kStatusMs by itself).
  void refreshStatus();
  // "Port...": Communication Options, also while a port is open; Cancel
  // keeps the port that was open.
  void changePort();

  static constexpr int kStatusMs = 250;

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
  QStatusBar *makeStatusBar();
  void fillLists();
  void refresh();
  void loadPictures(const MainScreen::Snapshot &snapshot);
  void fitToDialogUnits();
  void onButton(Tool tool);
  void onExit();

  MainScreen logic_;
  Session &session_;
  DialogTexts texts_;
  std::map<int, QPushButton *> buttons_;
  QPushButton *portButton_ = nullptr;
  QLabel *portStatus_ = nullptr;
  QLabel *receiverStatus_ = nullptr;
  QLabel *activityStatus_ = nullptr;
  QTimer statusTimer_;
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
