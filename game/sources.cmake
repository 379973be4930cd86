# The game library's sources, for its own CMakeLists.txt and for the fuzz build.
set(DRAVEL_GAME_SOURCES
  code.cpp
  column_mix.cpp
  game_state.cpp
  judge.cpp
  random_generator.cpp
  scheme_lines.cpp
  sequence_builder.cpp
  turn_cells.cpp)
list(TRANSFORM DRAVEL_GAME_SOURCES PREPEND "${CMAKE_CURRENT_LIST_DIR}/")
