// Calls every UserPort operation from a worker while the application is
// being destroyed, and prints what came back. Its own process, because only
// the end of the one application of a process makes Qt close down.
#include "ask_everything.h"
#include "qt_user_port.h"

#include <QCoreApplication>
#include <QThreadPool>

#include <chrono>
#include <cstdio>
#include <future>
#include <thread>

int main(int argc, char **argv) {
  tarnwick::ui::QtUserPort user(QStringLiteral("Tarnwick"));
  std::promise<std::string> seen;
  {
    QCoreApplication app(argc, argv);
    QThreadPool::globalInstance()->start([&user, &seen] {
      while (!QCoreApplication::closingDown()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      seen.set_value(tarnwick::testing::askEverything(user));
    });
  } // The destructor says Qt is closing down, then waits for the pool's workers.
  std::fputs(seen.get_future().get().c_str(), stdout);
  return 0;
}
