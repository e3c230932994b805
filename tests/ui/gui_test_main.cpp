// GoogleTest with a QApplication on the offscreen platform.
#include <QApplication>

#include <gtest/gtest.h>

namespace {

// The offscreen platform warns about every dialog it sizes; that is noise.
void quietOffscreenNotes(QtMsgType type, const QMessageLogContext &context, const QString &text) {
  if (text.contains(QStringLiteral("does not support propagateSizeHints"))) {
    return;
  }
  qt_message_output(type, context, text);
}

} // namespace

int main(int argc, char **argv) {
  // ctest sets the platform; this keeps a run by hand off the screen too.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  qInstallMessageHandler(quietOffscreenNotes);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
