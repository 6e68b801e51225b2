# Cross-building the window for Windows: the mingw-w64 settings of
# mingw-w64.cmake (Wine runs the tests) and the static Qt 6 for Windows that
# scripts/build-qt-windows.sh installs, in $KARTEX_QT_WINDOWS or else
# ~/.cache/kartex/qt6-windows.
if(DEFINED ENV{KARTEX_QT_WINDOWS} AND NOT "$ENV{KARTEX_QT_WINDOWS}" STREQUAL "")
  set(kartex_qt_windows "$ENV{KARTEX_QT_WINDOWS}")
elseif(DEFINED ENV{XDG_CACHE_HOME} AND NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
  set(kartex_qt_windows "$ENV{XDG_CACHE_HOME}/kartex/qt6-windows")
else()
  set(kartex_qt_windows "$ENV{HOME}/.cache/kartex/qt6-windows")
endif()
set(kartex_qt_toolchain "${kartex_qt_windows}/lib/cmake/Qt6/qt.toolchain.cmake")
if(NOT EXISTS "${kartex_qt_toolchain}")
  message(FATAL_ERROR "No Qt for Windows in ${kartex_qt_windows}: run scripts/build-qt-windows.sh first")
endif()

# Qt's toolchain file loads ours in place of the one Qt was built with (the
# same compilers, and the emulator for the tests).
set(QT_CHAINLOAD_TOOLCHAIN_FILE "${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake")
# The host tools (moc, rcc, uic) are Debian's, of Qt's version.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
include("${kartex_qt_toolchain}")
