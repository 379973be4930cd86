# The manual pages of the game (section 6) and of dravel-content (section 1) name the content
# server and the files that the program was built for. The values go in with every "-"
# written "\-", so that they print as the ASCII minus that a copied path or address needs.
function(dravel_manual_page source output)
  foreach(name IN ITEMS DRAVEL_CONTENT_HOST DRAVEL_CONTENT_HOST_NAME DRAVEL_CONTENT_FOLDER
      DRAVEL_SCHEME_FILE DRAVEL_READING_PICTURE DRAVEL_RIGHT_PICTURE DRAVEL_WRONG_PICTURE
      DRAVEL_CONTENT_INSTALL_FULL_DIR DRAVEL_NGINX_SITE_DIR DRAVEL_OWN_SERVER_CONFIG_DIR)
    string(REPLACE "-" "\\-" MAN_${name} "${${name}}")
  endforeach()
  configure_file("${source}" "${output}" @ONLY)
endfunction()

foreach(page IN ITEMS qovex-dravel.6 dravel-content.1)
  string(REGEX REPLACE ".*\\.([0-9])$" "\\1" section "${page}")
  dravel_manual_page("${page}.in" "${CMAKE_CURRENT_BINARY_DIR}/${page}")
  install(FILES "${CMAKE_CURRENT_BINARY_DIR}/${page}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man${section}")
endforeach()
