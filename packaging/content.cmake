# The content: the pack that contentgen/ generates, and the two servers that can serve it to
# the game from where it is installed, both on the loopback addresses only. Where nginx is
# installed, the site below joins it: the block of server/ with server_name the game's host, so
# that requests for other names on those addresses still reach the admin's own sites. Where it
# is not, the game's own server (httpd.conf.in, run by qovex-dravel-content.service) serves it.
set(DRAVEL_CONTENT_PORT 80)
if(DRAVEL_CONTENT_HOST MATCHES ":([0-9]+)$")
  set(DRAVEL_CONTENT_PORT ${CMAKE_MATCH_1})
endif()

function(dravel_system_nginx_site output)
  set(LISTEN "listen 127.0.0.1:${DRAVEL_CONTENT_PORT};\n  listen [::1]:${DRAVEL_CONTENT_PORT};")
  set(SERVER_NAME "${DRAVEL_CONTENT_HOST_NAME}")
  set(ROOT "${DRAVEL_CONTENT_INSTALL_FULL_DIR}")
  set(FOLDER "${DRAVEL_CONTENT_FOLDER}")
  configure_file("${PROJECT_SOURCE_DIR}/server/nginx-site.conf.in" "${output}" @ONLY)
endfunction()

function(dravel_own_server_config output)
  set(PORT "${DRAVEL_CONTENT_PORT}")
  set(SERVER_NAME "${DRAVEL_CONTENT_HOST_NAME}")
  set(ROOT "${DRAVEL_CONTENT_INSTALL_FULL_DIR}")
  set(FOLDER "${DRAVEL_CONTENT_FOLDER}")
  configure_file(httpd.conf.in "${output}" @ONLY)
endfunction()

set(site "${CMAKE_CURRENT_BINARY_DIR}/qovex-dravel-content.nginx")
dravel_system_nginx_site("${site}")
set(own_server_config "${CMAKE_CURRENT_BINARY_DIR}/httpd.conf")
dravel_own_server_config("${own_server_config}")
install(DIRECTORY "${DRAVEL_CONTENT_PACK_ROOT}/" DESTINATION "${DRAVEL_CONTENT_INSTALL_DIR}")
install(FILES "${site}" DESTINATION "${DRAVEL_NGINX_SITE_DIR}" RENAME qovex-dravel-content)
install(FILES "${own_server_config}" DESTINATION "${DRAVEL_OWN_SERVER_CONFIG_DIR}")
