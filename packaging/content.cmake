# The content: the pack that contentgen/ generates, and the nginx site that serves it to the
# game from where it is installed. The site is the block of server/ filled in for the
# system's nginx: it listens on the game's port as Debian's default site does, on every
# address, so that it takes no request away from the default site or any other; nginx gives
# it the requests for the game's host name, and the block lets in loopback clients only.
function(dravel_system_nginx_site output)
  set(port 80)
  if(DRAVEL_CONTENT_HOST MATCHES ":([0-9]+)$")
    set(port ${CMAKE_MATCH_1})
  endif()
  set(LISTEN "listen ${port};\n  listen [::]:${port};")
  set(SERVER_NAME "${DRAVEL_CONTENT_HOST_NAME}")
  set(ROOT "${DRAVEL_CONTENT_INSTALL_FULL_DIR}")
  set(FOLDER "${DRAVEL_CONTENT_FOLDER}")
  configure_file("${PROJECT_SOURCE_DIR}/server/nginx-site.conf.in" "${output}" @ONLY)
endfunction()

set(site "${CMAKE_CURRENT_BINARY_DIR}/qovex-dravel-content.nginx")
dravel_system_nginx_site("${site}")
install(DIRECTORY "${DRAVEL_CONTENT_PACK_ROOT}/" DESTINATION "${DRAVEL_CONTENT_INSTALL_DIR}")
install(FILES "${site}" DESTINATION "${DRAVEL_NGINX_SITE_DIR}" RENAME qovex-dravel-content)
