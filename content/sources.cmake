# The content library's sources, for its own CMakeLists.txt and for the fuzz build.
set(DRAVEL_CONTENT_SOURCES
  answer_head.cpp
  connection_policy.cpp
  curl_bridge.cpp
  decode_cost.cpp
  fetch.cpp
  fetch_failure.cpp
  http_client.cpp
  jpeg_codec.cpp
  jpeg_picture.cpp
  jpeg_probe.cpp
  poll_wait.cpp
  request_target.cpp
  transfer.cpp)
list(TRANSFORM DRAVEL_CONTENT_SOURCES PREPEND "${CMAKE_CURRENT_LIST_DIR}/")
