# Makes the game folder's save folders, data/save and data/pbem, unless they
# are links: scripts/keep_saves.sh links them to the player's data folder,
# and a link to a disk not mounted must not stop the build.
# usage: cmake -DGAME_DIR=<game folder> -P make_save_folders.cmake
foreach(folder save pbem)
  set(path "${GAME_DIR}/data/${folder}")
  if(NOT IS_SYMLINK "${path}")
    file(MAKE_DIRECTORY "${path}")
  endif()
endforeach()
