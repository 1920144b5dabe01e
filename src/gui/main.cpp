// vellox: the desktop tool.
#include <QApplication>

#include "app/program.h"
#include "gui/qt_window.h"
#include "platform/files.h"
#include "platform/http_client.h"
#include "platform/launcher.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  vellox::CurlHttpClient http;
  vellox::LocalFileStore files;
  vellox::SystemLauncher launcher;
  vellox::QtWindow window;
  vellox::Program program(window, {http, files, launcher}, vellox::builtInProgramConfig());
  vellox::installClosePolicy(window, program);
  window.show();
  return application.exec();
}
