#include "print/gui_application.h"

#include <QGuiApplication>

namespace kartex {

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
  application_ = std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace kartex
