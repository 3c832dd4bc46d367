# Fails when a source file includes a header from a folder its own folder may not use: every
# include points down the floors of the code map in the README. Run as
#   cmake -DSOURCE_DIR=<top of the tree> -P IncludeDirection.cmake

cmake_minimum_required(VERSION 3.25)

# What each folder of src/ may include besides itself.
set(uses_support "")
set(uses_imageio support)
set(uses_design support)
set(uses_render support imageio design)
set(uses_editing support imageio design render)
set(uses_profiles support design)
set(uses_export support imageio design render)
set(uses_platforms support imageio design render profiles export)
set(uses_symbols support imageio)
set(uses_cli support imageio design render profiles export platforms symbols)
set(uses_app support imageio design render editing profiles export platforms symbols cli)
set(uses_loader support imageio)

set(folders support imageio design render editing profiles export platforms symbols cli app loader)

# The editor's own floors: the window (the shell, the controller and its wiring) at the top,
# what it is built of below it, and what every part builds on at the bottom.
set(uses_app_window dialogs wall inspector canvas base)
set(uses_app_dialogs wall inspector canvas base)
set(uses_app_wall inspector canvas base)
set(uses_app_inspector canvas base)
set(uses_app_canvas base)
set(uses_app_base "")
set(app_folders window dialogs wall inspector canvas base)

set(faults "")
# Checks the folders below src/${under} against the table uses_${table}<folder>: each of their
# includes of "${under}<folder>/..." must name the folder itself or one it may use, and each
# folder there must be in the table.
function(check_floors under table folders)
  foreach(folder ${folders})
    file(GLOB_RECURSE sources ${SOURCE_DIR}/src/${under}${folder}/*.cpp
         ${SOURCE_DIR}/src/${under}${folder}/*.h)
    foreach(source ${sources})
      file(STRINGS ${source} includes REGEX "^#include \"${under}[A-Za-z0-9_]+/")
      foreach(line ${includes})
        string(REGEX REPLACE "^#include \"${under}([A-Za-z0-9_]+)/.*" "\\1" used "${line}")
        if(NOT used STREQUAL folder AND NOT used IN_LIST uses_${table}${folder})
          file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
          list(JOIN uses_${table}${folder} ", " allowed)
          list(APPEND faults "${shown}: ${line} (${under}${folder} may use: ${allowed})")
        endif()
      endforeach()
    endforeach()
  endforeach()
  # A folder the table does not know is a folder nobody has placed on a floor yet.
  file(GLOB present LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR}/src/${under}
       ${SOURCE_DIR}/src/${under}*)
  foreach(folder ${present})
    if(IS_DIRECTORY ${SOURCE_DIR}/src/${under}${folder} AND NOT folder IN_LIST folders)
      list(APPEND faults "src/${under}${folder}: not in the table of folders")
    endif()
  endforeach()
  set(faults ${faults} PARENT_SCOPE)
endfunction()

check_floors("" "" "${folders}")
check_floors("app/" "app_" "${app_folders}")

if(faults)
  list(JOIN faults "\n" shown)
  message(FATAL_ERROR "Includes that point up or sideways:\n${shown}")
endif()
