# A library's headers are found through a folder that holds its own source folder and nothing
# else, so a library sees only the headers of what it links: "game/..." from game and from
# whoever links it, but "content/..." nowhere in game.
function(dravel_public_headers target folder)
  set(root "${PROJECT_BINARY_DIR}/include/${folder}")
  if(NOT EXISTS "${root}/${folder}")
    file(MAKE_DIRECTORY "${root}")
    file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${folder}" "${root}/${folder}" SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC "${root}")
endfunction()
