# The manual page (section 6) names the content server that the program was built for. The
# values go in with every "-" written "\-", so that they print as the ASCII minus that a
# copied path or address needs.
function(dravel_manual_page output)
  foreach(name IN ITEMS DRAVEL_CONTENT_HOST DRAVEL_CONTENT_HOST_NAME DRAVEL_CONTENT_FOLDER
      DRAVEL_SCHEME_FILE DRAVEL_READING_PICTURE DRAVEL_RIGHT_PICTURE DRAVEL_WRONG_PICTURE
      DRAVEL_CONTENT_INSTALL_FULL_DIR DRAVEL_NGINX_SITE_DIR)
    string(REPLACE "-" "\\-" MAN_${name} "${${name}}")
  endforeach()
  configure_file(qovex-dravel.6.in "${output}" @ONLY)
endfunction()

dravel_manual_page("${CMAKE_CURRENT_BINARY_DIR}/qovex-dravel.6")
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/qovex-dravel.6" DESTINATION "${CMAKE_INSTALL_MANDIR}/man6")
