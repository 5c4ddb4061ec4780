# Builds the game data from the text sources under data/ and assembles the
# game folder ${GAME_DIR} (build/game) that run.sh starts the program from.

set(TR_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${TR_GENERATED_DIR} ${GAME_DIR})

# The string base. Its builder uses only a few foundation sources, because the
# foundation library compiles the digest the builder writes.
add_executable(make_string_base
  ${PROJECT_SOURCE_DIR}/tools/datagen/make_string_base.cpp
  ${PROJECT_SOURCE_DIR}/src/foundation/md5.cpp
  ${PROJECT_SOURCE_DIR}/src/foundation/string_base_file.cpp
  ${PROJECT_SOURCE_DIR}/src/foundation/text.cpp)
target_include_directories(make_string_base PRIVATE ${PROJECT_SOURCE_DIR}/src)

set(TR_TEXT_SOURCE ${PROJECT_SOURCE_DIR}/data/texts/lang_ENG.txt)
set(TR_STRING_BASE ${GAME_DIR}/lang_ENG.db)
set(TR_STRING_BASE_DIGEST ${TR_GENERATED_DIR}/string_base_digest.cpp)
add_custom_command(
  OUTPUT ${TR_STRING_BASE} ${TR_STRING_BASE_DIGEST}
  COMMAND make_string_base ${TR_TEXT_SOURCE} ${TR_STRING_BASE} ${TR_STRING_BASE_DIGEST}
  DEPENDS make_string_base ${TR_TEXT_SOURCE}
  COMMENT "Building the English string base"
  VERBATIM)
target_sources(tr_foundation PRIVATE ${TR_STRING_BASE_DIGEST})

# Plain data files are copied as they are. Folders listed here hold text
# sources that a tool turns into game files, and are not copied.
set(TR_DATA_SOURCE_DIRS texts skin audio mapart scenario_maps movies)
set(TR_GAME_FILES ${TR_STRING_BASE})
file(GLOB_RECURSE TR_DATA_FILES CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}/data
     ${PROJECT_SOURCE_DIR}/data/*)
foreach(rel ${TR_DATA_FILES})
  string(REGEX MATCH "^[^/]+" top ${rel})
  if(top IN_LIST TR_DATA_SOURCE_DIRS)
    continue()
  endif()
  # The settings file sits at the top of the game folder, the rest under data/.
  if(rel STREQUAL "Settings.ini")
    set(dest ${GAME_DIR}/Settings.ini)
  else()
    set(dest ${GAME_DIR}/data/${rel})
  endif()
  add_custom_command(
    OUTPUT ${dest}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/data/${rel} ${dest}
    DEPENDS ${PROJECT_SOURCE_DIR}/data/${rel}
    VERBATIM)
  list(APPEND TR_GAME_FILES ${dest})
endforeach()

add_custom_target(game_data ALL DEPENDS ${TR_GAME_FILES})
add_dependencies(tidereach game_data)

# The folders the game saves into come with it, so a player saves with
# nothing made by hand; made at every build, as a run may have removed them.
# One that is a link (to the player's data folder) is left to ./run.sh.
add_custom_target(game_save_folders ALL
  COMMAND ${CMAKE_COMMAND} -DGAME_DIR=${GAME_DIR} -P ${PROJECT_SOURCE_DIR}/cmake/make_save_folders.cmake
  VERBATIM)
add_dependencies(game_data game_save_folders)

# The GUI skin picture, drawn from its text source.
add_executable(make_skin_atlas
  ${PROJECT_SOURCE_DIR}/tools/datagen/make_skin_atlas.cpp
  ${PROJECT_SOURCE_DIR}/tools/datagen/skin_painter.cpp
  ${PROJECT_SOURCE_DIR}/tools/datagen/pictogram.cpp
  ${PROJECT_SOURCE_DIR}/tools/datagen/picture_canvas.cpp)
target_link_libraries(make_skin_atlas PRIVATE tr_platform)
set(TR_SKIN_SOURCE ${PROJECT_SOURCE_DIR}/data/skin/GUI.txt)
set(TR_SKIN_ATLAS ${GAME_DIR}/data/gfx/GUI.png)
add_custom_command(
  OUTPUT ${TR_SKIN_ATLAS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${GAME_DIR}/data/gfx
  COMMAND make_skin_atlas ${TR_SKIN_SOURCE} ${TR_SKIN_ATLAS}
  DEPENDS make_skin_atlas ${TR_SKIN_SOURCE}
  COMMENT "Drawing the GUI skin"
  VERBATIM)
add_custom_target(gui_skin ALL DEPENDS ${TR_SKIN_ATLAS})
add_dependencies(game_data gui_skin)

# The sound effects and music tracks, drawn from their text sources; the Ogg
# music is encoded with FFmpeg's libraries, as the movies are.
add_executable(make_sounds ${PROJECT_SOURCE_DIR}/tools/datagen/make_sounds.cpp
  ${PROJECT_SOURCE_DIR}/tools/datagen/ogg_writer.cpp)
target_link_libraries(make_sounds PRIVATE PkgConfig::FFMPEG)
set(TR_EFFECTS_SOURCE ${PROJECT_SOURCE_DIR}/data/audio/effects.txt)
set(TR_MUSIC_SOURCE ${PROJECT_SOURCE_DIR}/data/audio/music.txt)
set(TR_SOUND_STAMP ${TR_GENERATED_DIR}/sounds.stamp)
add_custom_command(
  OUTPUT ${TR_SOUND_STAMP}
  COMMAND make_sounds ${TR_EFFECTS_SOURCE} ${TR_MUSIC_SOURCE} ${GAME_DIR}/data/sound ${GAME_DIR}/data
  COMMAND ${CMAKE_COMMAND} -E touch ${TR_SOUND_STAMP}
  DEPENDS make_sounds ${TR_EFFECTS_SOURCE} ${TR_MUSIC_SOURCE}
  COMMENT "Drawing the sound effects and music"
  VERBATIM)
add_custom_target(game_sounds ALL DEPENDS ${TR_SOUND_STAMP})
add_dependencies(game_data game_sounds)

# The map skin "Normal" and the units skin "Counters", drawn from their palette.
# Their tables (appearance, sprite depths, counter layouts) are plain data files.
add_executable(make_map_art
  ${PROJECT_SOURCE_DIR}/tools/datagen/make_map_art.cpp
  ${PROJECT_SOURCE_DIR}/tools/datagen/make_unit_art.cpp
  ${PROJECT_SOURCE_DIR}/tools/datagen/art_canvas.cpp
  ${PROJECT_SOURCE_DIR}/tools/datagen/picture_canvas.cpp)
target_link_libraries(make_map_art PRIVATE tr_platform)
set(TR_MAP_ART_SOURCE ${PROJECT_SOURCE_DIR}/data/mapart/palette.txt)
set(TR_MAP_SKIN_DIR "${GAME_DIR}/data/gfx/[MapSkin]Normal")
set(TR_UNITS_SKIN_DIR "${GAME_DIR}/data/gfx/[UnitsSkin]Counters")
set(TR_MAP_ART_STAMP ${TR_GENERATED_DIR}/map_art.stamp)
add_custom_command(
  OUTPUT ${TR_MAP_ART_STAMP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TR_MAP_SKIN_DIR} ${TR_UNITS_SKIN_DIR}
  COMMAND make_map_art ${TR_MAP_ART_SOURCE} ${TR_MAP_SKIN_DIR} ${TR_UNITS_SKIN_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${TR_MAP_ART_STAMP}
  DEPENDS make_map_art ${TR_MAP_ART_SOURCE}
  COMMENT "Drawing the map and unit skins"
  VERBATIM)
add_custom_target(map_art ALL DEPENDS ${TR_MAP_ART_STAMP})
add_dependencies(game_data map_art)

# The menu pictures (wallpapers, logos, cursor, console, unknown flag),
# painted from their text source in the skin's colours.
add_executable(make_menu_pictures
  ${PROJECT_SOURCE_DIR}/tools/datagen/make_menu_pictures.cpp
  ${PROJECT_SOURCE_DIR}/tools/datagen/menu_painter.cpp
  ${PROJECT_SOURCE_DIR}/tools/datagen/picture_canvas.cpp)
target_link_libraries(make_menu_pictures PRIVATE tr_platform PkgConfig::SDL2)
set(TR_MENU_PICTURES_SOURCE ${PROJECT_SOURCE_DIR}/data/skin/menu_pictures.txt)
set(TR_MENU_PICTURES_STAMP ${TR_GENERATED_DIR}/menu_pictures.stamp)
add_custom_command(
  OUTPUT ${TR_MENU_PICTURES_STAMP}
  COMMAND make_menu_pictures ${TR_MENU_PICTURES_SOURCE} ${GAME_DIR}/data/gfx
  COMMAND ${CMAKE_COMMAND} -E touch ${TR_MENU_PICTURES_STAMP}
  DEPENDS make_menu_pictures ${TR_MENU_PICTURES_SOURCE}
  COMMENT "Painting the menu pictures"
  VERBATIM)
add_custom_target(menu_pictures ALL DEPENDS ${TR_MENU_PICTURES_STAMP})
add_dependencies(game_data menu_pictures)

# The movie writer the movie tool, the tests and the benchmarks share.
add_library(tr_movie_encoder STATIC ${PROJECT_SOURCE_DIR}/tools/datagen/movie_encoder.cpp)
target_include_directories(tr_movie_encoder PUBLIC ${PROJECT_SOURCE_DIR}/tools/datagen)
target_link_libraries(tr_movie_encoder PRIVATE PkgConfig::FFMPEG)

# The intro and credits movies, painted like the menu pictures and encoded
# from their text source.
add_library(tr_movie_script STATIC
  ${PROJECT_SOURCE_DIR}/tools/datagen/movie_script.cpp
  ${PROJECT_SOURCE_DIR}/tools/datagen/menu_painter.cpp
  ${PROJECT_SOURCE_DIR}/tools/datagen/picture_canvas.cpp)
target_include_directories(tr_movie_script PUBLIC ${PROJECT_SOURCE_DIR}/tools/datagen)
target_link_libraries(tr_movie_script PUBLIC tr_platform tr_movie_encoder PRIVATE PkgConfig::SDL2)
add_executable(make_movies ${PROJECT_SOURCE_DIR}/tools/datagen/make_movies.cpp)
target_link_libraries(make_movies PRIVATE tr_movie_script)
set(TR_MOVIES_SOURCE ${PROJECT_SOURCE_DIR}/data/movies/movies.txt)
file(GLOB TR_MOVIES_TEXTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/movies/*)
set(TR_MOVIES_STAMP ${TR_GENERATED_DIR}/movies.stamp)
add_custom_command(
  OUTPUT ${TR_MOVIES_STAMP}
  COMMAND make_movies ${TR_MOVIES_SOURCE} ${GAME_DIR}/data
  COMMAND ${CMAKE_COMMAND} -E touch ${TR_MOVIES_STAMP}
  DEPENDS make_movies ${TR_MOVIES_TEXTS}
  COMMENT "Painting and encoding the movies"
  VERBATIM)
add_custom_target(game_movies ALL DEPENDS ${TR_MOVIES_STAMP})
add_dependencies(game_data game_movies)

# The scenarios' maps, built into "map.qel" from their text descriptions
# data/scenario_maps/<scenario>.txt beside the copied scenario tables.
add_executable(make_scenario_map ${PROJECT_SOURCE_DIR}/tools/datagen/make_scenario_map.cpp)
target_link_libraries(make_scenario_map PRIVATE tr_game)
# Their menu picture and minimap picture are drawn from the same text.
add_executable(make_scenario_pictures
  ${PROJECT_SOURCE_DIR}/tools/datagen/make_scenario_pictures.cpp
  ${PROJECT_SOURCE_DIR}/tools/datagen/art_canvas.cpp
  ${PROJECT_SOURCE_DIR}/tools/datagen/picture_canvas.cpp)
target_link_libraries(make_scenario_pictures PRIVATE tr_game tr_platform)
file(GLOB TR_SCENARIO_MAPS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/scenario_maps/*.txt)
set(TR_SCENARIO_MAP_FILES)
foreach(source ${TR_SCENARIO_MAPS})
  get_filename_component(scenario ${source} NAME_WE)
  set(folder ${GAME_DIR}/data/scenarios/${scenario})
  add_custom_command(
    OUTPUT ${folder}/map.qel
    COMMAND make_scenario_map ${source} ${folder}
    DEPENDS make_scenario_map ${source}
    COMMENT "Building the map of ${scenario}"
    VERBATIM)
  list(APPEND TR_SCENARIO_MAP_FILES ${folder}/map.qel)
  add_custom_command(
    OUTPUT ${folder}/image.png ${folder}/minimap.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND make_scenario_pictures ${source} ${folder}
    DEPENDS make_scenario_pictures ${source}
    COMMENT "Drawing the pictures of ${scenario}"
    VERBATIM)
  list(APPEND TR_SCENARIO_MAP_FILES ${folder}/image.png ${folder}/minimap.png)
endforeach()
add_custom_target(scenario_maps ALL DEPENDS ${TR_SCENARIO_MAP_FILES})
add_dependencies(game_data scenario_maps)

# The large generated scenario the benchmarks load. It goes into its own game
# folder beside build/game, so it is never shipped.
add_library(tr_large_scenario STATIC ${PROJECT_SOURCE_DIR}/tools/datagen/large_scenario.cpp)
target_include_directories(tr_large_scenario PUBLIC ${PROJECT_SOURCE_DIR}/tools)
target_link_libraries(tr_large_scenario PUBLIC tr_game)
add_executable(make_large_scenario ${PROJECT_SOURCE_DIR}/tools/datagen/make_large_scenario.cpp)
target_link_libraries(make_large_scenario PRIVATE tr_large_scenario)
set(TR_LARGE_GAME_DIR ${CMAKE_BINARY_DIR}/large_game)
set(TR_LARGE_CONSTANTS ${PROJECT_SOURCE_DIR}/data/scenarios/NorthernTide/consts.csv)
set(TR_LARGE_STAMP ${TR_GENERATED_DIR}/large_scenario.stamp)
# The benchmarks also time the same scenario grown by factors 2 and 4.
set(TR_LARGE_SCALED_COMMANDS)
if(TIDEREACH_BENCH)
  foreach(factor 2 4)
    list(APPEND TR_LARGE_SCALED_COMMANDS
         COMMAND make_large_scenario ${TR_LARGE_CONSTANTS} ${TR_LARGE_GAME_DIR} Large${factor} ${factor})
  endforeach()
endif()
add_custom_command(
  OUTPUT ${TR_LARGE_STAMP}
  COMMAND make_large_scenario ${TR_LARGE_CONSTANTS} ${TR_LARGE_GAME_DIR} Large
  ${TR_LARGE_SCALED_COMMANDS}
  COMMAND ${CMAKE_COMMAND} -E touch ${TR_LARGE_STAMP}
  DEPENDS make_large_scenario ${TR_LARGE_CONSTANTS}
  COMMENT "Generating the large benchmark scenario"
  VERBATIM)
add_custom_target(large_scenario ALL DEPENDS ${TR_LARGE_STAMP})

# The layout files of the other window sizes, placed from the 1024 x 768 one.
add_library(tr_gui_layout_sizes STATIC ${PROJECT_SOURCE_DIR}/tools/datagen/gui_layout_sizes.cpp)
target_include_directories(tr_gui_layout_sizes PUBLIC ${PROJECT_SOURCE_DIR}/tools)
add_executable(make_gui_layouts ${PROJECT_SOURCE_DIR}/tools/datagen/make_gui_layouts.cpp)
target_link_libraries(make_gui_layouts PRIVATE tr_gui_layout_sizes)
set(TR_LAYOUT_SOURCE ${PROJECT_SOURCE_DIR}/data/GUI_1024x768.csv)
set(TR_DERIVED_LAYOUTS ${GAME_DIR}/data/GUI_1280x720.csv ${GAME_DIR}/data/GUI_1366x768.csv
    ${GAME_DIR}/data/GUI_1920x1080.csv)
add_custom_command(
  OUTPUT ${TR_DERIVED_LAYOUTS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${GAME_DIR}/data
  COMMAND make_gui_layouts ${TR_LAYOUT_SOURCE} ${GAME_DIR}/data
  DEPENDS make_gui_layouts ${TR_LAYOUT_SOURCE}
  COMMENT "Placing the screen layouts of the other window sizes"
  VERBATIM)
add_custom_target(gui_layouts ALL DEPENDS ${TR_DERIVED_LAYOUTS})
add_dependencies(game_data gui_layouts)
