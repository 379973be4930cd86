# The icon: one SVG drawing, installed as the scalable icon and drawn anew into a PNG at each
# size a desktop asks for, so every size is sharp. The window's own 48 x 48 icon
# (app/icons/window_icon.sh) is drawn from the same SVG.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(icon_svg "${PROJECT_SOURCE_DIR}/app/icons/qovex-dravel.svg")
set(DRAVEL_ICON_SIZES 16 22 24 32 48 64 128 256)
set(icon_files)
foreach(size IN LISTS DRAVEL_ICON_SIZES)
  set(folder "${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}")
  set(icon "${folder}/${DRAVEL_APP_ID}.png")
  add_custom_command(
    OUTPUT "${icon}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${folder}"
    COMMAND "${RSVG_CONVERT}" --width ${size} --height ${size} --output "${icon}" "${icon_svg}"
    DEPENDS "${icon_svg}"
    COMMENT "Drawing the ${size} x ${size} icon"
    VERBATIM)
  list(APPEND icon_files "${icon}")
  install(FILES "${icon}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps")
endforeach()
add_custom_target(desktop-icons ALL DEPENDS ${icon_files})
install(FILES "${icon_svg}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps"
  RENAME "${DRAVEL_APP_ID}.svg")
# The symbolic icon, a drawing of its own in one colour that the desktop paints in its theme's
# (GNOME's shell, overview and high-contrast themes), looked up by the icon name with
# "-symbolic" added.
set(symbolic_icon_svg "${CMAKE_CURRENT_SOURCE_DIR}/icons/${DRAVEL_APP_ID}-symbolic.svg")
install(FILES "${symbolic_icon_svg}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/symbolic/apps")
