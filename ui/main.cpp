// tarnwick: the main program. Works on the current folder as its
// installation; with --demo on a fresh demo installation and a simulated
// receiver.
#include "demo_session.h"
#include "dynamic_library.h"
#include "main_screen_window.h"
#include "qt_user_port.h"
#include "session.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr const char *kUsage = "Usage: tarnwick [--demo]\n"
                               "  Runs on the current folder as the installation.\n"
                               "  --demo  a demo installation and a simulated receiver\n";

bool hasDisplay() {
  const char *x11 = std::getenv("DISPLAY");
  const char *wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 != nullptr && *x11 != 0) || (wayland != nullptr && *wayland != 0);
}

// Without a display the demo runs on the terminal instead.
int runTerminalDemo(const fs::path &programFolder) {
  const std::string cli = (programFolder / "tarnwick-cli").string();
  std::fprintf(stderr, "tarnwick: no display; running %s --demo\n", cli.c_str());
  std::vector<char *> argv{const_cast<char *>(cli.c_str()), const_cast<char *>("--demo"), nullptr};
  execv(cli.c_str(), argv.data());
  std::fprintf(stderr, "tarnwick: cannot run %s: %s\n", cli.c_str(), std::strerror(errno));
  return 1;
}

int runMainScreen(QApplication &qt, const fs::path &workingFolder, const std::string &startupNote) {
  tarnwick::ui::QtUserPort user(QStringLiteral("Tarnwick"));
  tarnwick::Session app(workingFolder, user);
  user.setStrings(&app.context().strings);
  app.start();
  if (!startupNote.empty()) {
    user.message(startupNote);
  }
  tarnwick::ui::MainScreenWindow window(app);
  user.setMainWindow(&window);
  QObject::connect(&window, &tarnwick::ui::MainScreenWindow::quitRequested, &qt,
                   &QApplication::quit, Qt::QueuedConnection);
  window.show();
  const int status = QApplication::exec();
  app.finish();
  return status;
}

} // namespace

int main(int argc, char **argv) {
  bool demo = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--demo") == 0) {
      demo = true;
    } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
  }
  const fs::path programFolder = tarnwick::DynamicLibrary::executableFolder();
  if (demo && !hasDisplay()) {
    return runTerminalDemo(programFolder);
  }

  QApplication qt(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tarnwick"));
  if (!demo) {
    return runMainScreen(qt, tarnwick::Session::currentFolder(), {});
  }
  tarnwick::demo::DemoSession session = tarnwick::demo::startDemo(programFolder);
  if (!session.treeReady) {
    std::fprintf(stderr, "tarnwick: %s\n", session.problem.c_str());
    return 1;
  }
  std::error_code ignored;
  fs::current_path(session.folder, ignored); // the demo tree is the current folder too
  std::fprintf(stderr, "tarnwick: demo installation in %s\n", session.folder.c_str());
  if (session.simulator) {
    std::fprintf(stderr, "tarnwick: simulated receiver on %s\n",
                 session.simulator->device().c_str());
  }
  return runMainScreen(qt, session.folder, session.problem);
}
