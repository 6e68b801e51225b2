#pragma once
// kartex-cli draws labels with Qt's fonts, which need a QGuiApplication.
// The command line makes one only when it draws, on a platform that needs
// no display (offscreen on Linux).

#include <memory>

class QGuiApplication;

namespace kartex {

class GuiForDrawing {
 public:
  GuiForDrawing();
  ~GuiForDrawing();
  GuiForDrawing(const GuiForDrawing&) = delete;
  GuiForDrawing& operator=(const GuiForDrawing&) = delete;

  // Makes the application unless one exists.
  void Ensure();

 private:
  std::unique_ptr<QGuiApplication> application_;
};

}  // namespace kartex
