# Fails when a source file includes a header from a folder its own folder may not use: every
# include points down the floors of the code map in the README. Run as
#   cmake -DSOURCE_DIR=<top of the tree> -P IncludeDirection.cmake

cmake_minimum_required(VERSION 3.25)

# What each folder of src/ may include besides itself.
set(uses_support "")
set(uses_imageio support)
set(uses_design support)
set(uses_render support imageio design)
set(uses_profiles support design)
set(uses_export support imageio design render)
set(uses_platforms support imageio design render profiles export)
set(uses_cli support imageio design render profiles export platforms)
set(uses_app support imageio design render profiles export platforms cli)

set(folders support imageio design render profiles export platforms cli app)
set(faults "")
foreach(folder ${folders})
  file(GLOB_RECURSE sources ${SOURCE_DIR}/src/${folder}/*.cpp ${SOURCE_DIR}/src/${folder}/*.h)
  foreach(source ${sources})
    file(STRINGS ${source} includes REGEX "^#include \"[A-Za-z0-9_]+/")
    foreach(line ${includes})
      string(REGEX REPLACE "^#include \"([A-Za-z0-9_]+)/.*" "\\1" used "${line}")
      if(NOT used STREQUAL folder AND NOT used IN_LIST uses_${folder})
        file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
        list(JOIN uses_${folder} ", " allowed)
        list(APPEND faults "${shown}: ${line} (${folder} may use: ${allowed})")
      endif()
    endforeach()
  endforeach()
endforeach()

# A folder the table does not know is a folder nobody has placed on a floor yet.
file(GLOB present LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*)
foreach(folder ${present})
  if(IS_DIRECTORY ${SOURCE_DIR}/src/${folder} AND NOT folder IN_LIST folders)
    list(APPEND faults "src/${folder}: not in the table of folders")
  endif()
endforeach()

if(faults)
  list(JOIN faults "\n" shown)
  message(FATAL_ERROR "Includes that point up or sideways:\n${shown}")
endif()
