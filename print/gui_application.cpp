#include "print/gui_application.h"

#include <QGuiApplication>

namespace kartex {
namespace {

QtMessageHandler qtHandler = nullptr;

// Qt's own notes (a missing XDG_RUNTIME_DIR, a font it looked for) are no
// business of a script reading kartex-cli's standard error; its errors are.
void KeepQtErrorsOnly(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg) return;
  if (qtHandler != nullptr) qtHandler(type, context, message);
}

}  // namespace

GuiForDrawing::GuiForDrawing() = default;
GuiForDrawing::~GuiForDrawing() = default;

void GuiForDrawing::Ensure() {
  if (QCoreApplication::instance() != nullptr) return;
  // QGuiApplication keeps the argument count and vector for its whole life.
  static int argc = 0;
  static char name[] = "kartex-cli";
  static char platformOption[] = "-platform";
  static char platform[] = KARTEX_DRAWING_PLATFORM;
  static char* argv[] = {name, platformOption, platform, nullptr};
  argc = sizeof platform > 1 ? 3 : 1;
  qtHandler = qInstallMessageHandler(KeepQtErrorsOnly);
  application_ = std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace kartex
