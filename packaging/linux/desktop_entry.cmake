# The window in the desktop's menu: the desktop entry, the icon (the SVG and
# PNGs of the usual sizes drawn from it) and the AppStream metainfo that
# software centres show.

install(FILES ${KARTEX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

configure_file(${KARTEX_APP_ID}.metainfo.xml.in ${CMAKE_CURRENT_BINARY_DIR}/${KARTEX_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${KARTEX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(icon_themes_dir ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES kartex.svg DESTINATION ${icon_themes_dir}/scalable/apps)

# Menus and panels that do not scale SVG icons look for PNGs of these sizes.
find_program(KARTEX_RSVG_CONVERT rsvg-convert)
if(KARTEX_RSVG_CONVERT)
  set(icon_pngs)
  foreach(size 16 22 24 32 48 64 128 256)
    set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}/kartex.png)
    add_custom_command(
      OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}
      COMMAND ${KARTEX_RSVG_CONVERT} --width ${size} --height ${size}
        --output ${png} ${CMAKE_CURRENT_SOURCE_DIR}/kartex.svg
      DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/kartex.svg
      VERBATIM)
    list(APPEND icon_pngs ${png})
    install(FILES ${png} DESTINATION ${icon_themes_dir}/${size}x${size}/apps)
  endforeach()
  add_custom_target(kartex_icons ALL DEPENDS ${icon_pngs})
else()
  message(STATUS "rsvg-convert not found: only the SVG icon is installed")
endif()
