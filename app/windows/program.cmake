# KARTEX.exe: a GUI program (no console window), named as Windows users know
# it, with its icon and version information, and Qt's plugins linked in (the
# static Qt adds the windows platform plugin and the Windows styles by itself).
set_target_properties(kartex PROPERTIES WIN32_EXECUTABLE ON OUTPUT_NAME KARTEX)
# No image format plugins: the window shows no pictures from files.
qt_import_plugins(kartex EXCLUDE_BY_TYPE imageformats)

# The icon, drawn from the project's SVG at build time when ImageMagick is
# at hand; without it the program has Windows' default icon.
find_program(KARTEX_CONVERT convert)
set(KARTEX_RC_ICON "")
if(KARTEX_CONVERT)
  set(icon ${CMAKE_CURRENT_BINARY_DIR}/kartex.ico)
  set(svg ${PROJECT_SOURCE_DIR}/packaging/linux/kartex.svg)
  # The 64-pixel drawing rendered at 384 dpi: sharp at 256 pixels.
  add_custom_command(
    OUTPUT ${icon}
    COMMAND ${KARTEX_CONVERT} -density 384 -background none ${svg} -define icon:auto-resize=256,48,32,16 ${icon}
    DEPENDS ${svg}
    COMMENT "Drawing kartex.ico"
    VERBATIM)
  set(KARTEX_RC_ICON "IDI_ICON1 ICON \"${icon}\"")
  set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/kartex.rc APPEND PROPERTY OBJECT_DEPENDS ${icon})
else()
  message(STATUS "convert (ImageMagick) not found: KARTEX.exe gets no icon")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/kartex.rc.in ${CMAKE_CURRENT_BINARY_DIR}/kartex.rc @ONLY)
target_sources(kartex PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/kartex.rc)

# The label sheets beside the program, as the download carries them, so that
# the KARTEX.exe of the build tree offers them too (Debian's glabels-data).
set(KARTEX_GLABELS_TEMPLATES /usr/share/libglabels-3.0/templates)
if(EXISTS ${KARTEX_GLABELS_TEMPLATES}/paper-sizes.xml)
  file(GLOB label_templates ${KARTEX_GLABELS_TEMPLATES}/paper-sizes.xml
    ${KARTEX_GLABELS_TEMPLATES}/*-templates.xml)
  add_custom_command(TARGET kartex POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:kartex>/templates
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${label_templates} $<TARGET_FILE_DIR:kartex>/templates
    VERBATIM)
endif()
