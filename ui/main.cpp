// tarnwick: the main program. Works on the current folder as its
// installation; with --demo on the demo installation (made once, then kept)
// and a simulated receiver.
#include "demo_session.h"
#include "dynamic_library.h"
#include "main_screen_window.h"
#include "qt_user_port.h"
#include "session.h"
#include "ui_text.h"

#include <QApplication>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr const char *kUsage =
    "Usage: tarnwick [--demo [--reset]]\n"
    "  Runs on the current folder as the installation.\n"
    "  --demo            a demo installation and a simulated receiver; the demo\n"
    "                    installation is created once and kept with what is made in it\n"
    "  --reset           with --demo: rebuild the demo installation, after saying\n"
    "                    what will be lost\n"
    "  --missing-texts PACK  list the texts a language pack lacks (status 1 if any)\n"
    "  --english-pack    print every text in English, as a language pack\n";

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

struct Options {
  bool demo = false;
  bool reset = false;
  bool englishPack = false;
  const char *missingTextsOf = nullptr;
  bool help = false;
};

Options parseOptions(int argc, char **argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--demo") == 0) {
      options.demo = true;
    } else if (std::strcmp(argv[i], "--reset") == 0) {
      options.reset = true;
    } else if (std::strcmp(argv[i], "--english-pack") == 0) {
      options.englishPack = true;
    } else if (std::strcmp(argv[i], "--missing-texts") == 0 && i + 1 < argc) {
      options.missingTextsOf = argv[++i];
    } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      options.help = true;
    }
  }
  return options;
}

// The ids a language pack lacks, one per line with the English text.
int listMissingTexts(const char *pack) {
  std::ifstream in(pack, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "tarnwick: cannot read %s: %s\n", pack, std::strerror(errno));
    return 2;
  }
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const auto missing = tarnwick::ui::missingTexts(text);
  for (const auto &entry : missing) {
    std::printf("%s\t%s\n", tarnwick::ui::packKey(entry.dialog, entry.item).c_str(),
                entry.english.c_str());
  }
  std::fprintf(stderr, "tarnwick: %s lacks %zu texts\n", pack, missing.size());
  return missing.empty() ? 0 : 1;
}

// Rebuilding the demo tree deletes what the user made in it: say what first,
// and under a display let the user keep it.
bool confirmDemoReset(const fs::path &folder, bool display) {
  const std::string warning =
      tarnwick::demo::resetWarning(folder, tarnwick::demo::demoTreeChanges(folder));
  std::fprintf(stderr, "tarnwick: %s\n", warning.c_str());
  if (!display || !tarnwick::demo::isDemoTree(folder)) {
    return true; // asked for on the command line; said above
  }
  tarnwick::ui::QtUserPort user(QStringLiteral("Tarnwick"));
  return user.ask(warning + "\nRebuild it?", tarnwick::Buttons::YesNo) == tarnwick::Answer::Yes;
}

int runDemo(QApplication &qt, const fs::path &programFolder, bool rebuild) {
  tarnwick::demo::DemoSession session =
      tarnwick::demo::startDemo(programFolder, tarnwick::demo::defaultDemoFolder(), rebuild);
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

} // namespace

int main(int argc, char **argv) {
  const Options options = parseOptions(argc, argv);
  if (options.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (options.englishPack) {
    std::fputs(tarnwick::ui::englishLanguagePack().c_str(), stdout);
    return 0;
  }
  if (options.missingTextsOf != nullptr) {
    return listMissingTexts(options.missingTextsOf);
  }
  const fs::path programFolder = tarnwick::DynamicLibrary::executableFolder();
  if (options.demo && !hasDisplay()) {
    if (options.reset) {
      const fs::path folder = tarnwick::demo::defaultDemoFolder();
      confirmDemoReset(folder, false);
      if (const auto rebuilt = tarnwick::demo::createDemoTree(folder); rebuilt.error) {
        std::fprintf(stderr, "tarnwick: %s\n", rebuilt.what.c_str());
        return 1;
      }
    }
    return runTerminalDemo(programFolder);
  }

  QApplication qt(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tarnwick"));
  if (!options.demo) {
    return runMainScreen(qt, tarnwick::Session::currentFolder(), {});
  }
  const bool rebuild = options.reset && confirmDemoReset(tarnwick::demo::defaultDemoFolder(), true);
  return runDemo(qt, programFolder, rebuild);
}
