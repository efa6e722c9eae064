# Fails when a source file includes a header of a layer that is not below its own. The order,
# from the ground floor up (a folder may include its own headers and those of lower ranks):
#   0  core                                   clock, text files, number texts
#   1  instrument, localisation, plot/curves  instrument I/O; text tables; the curve library
#   2  evaluation
#   3  records
#   4  measurement
#   5  plot, localisation/widgets             the widget layer
#   6  app                                    the window and the script driver
# Tests under tests/<folder> obey the rule of their folder; tests/support is open to all.
# Run as: cmake -DSOURCE_DIR=... -P CheckLayering.cmake
set(layer_folders core instrument localisation plot/curves evaluation records measurement plot
                  localisation/widgets app)
set(rank_core 0)
set(rank_instrument 1)
set(rank_localisation 1)
set(rank_plot/curves 1)
set(rank_evaluation 2)
set(rank_records 3)
set(rank_measurement 4)
set(rank_plot 5)
set(rank_localisation/widgets 5)
set(rank_app 6)

# The layer folder a path (relative to the source dir, "tests/" stripped) lies in: the longest
# folder that is a prefix, so that plot/curves/X.h is in plot/curves, not in plot.
function(layer_of path result)
  set(best "")
  foreach(folder ${layer_folders})
    string(LENGTH "${folder}" length)
    string(LENGTH "${best}" best_length)
    if(path MATCHES "^${folder}/" AND length GREATER best_length)
      set(best ${folder})
    endif()
  endforeach()
  set(${result} "${best}" PARENT_SCOPE)
endfunction()

set(violations "")
set(checked 0)
foreach(folder ${layer_folders})
  file(GLOB_RECURSE files ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp
       ${SOURCE_DIR}/tests/${folder}/*.h ${SOURCE_DIR}/tests/${folder}/*.cpp)
  foreach(file ${files})
    file(RELATIVE_PATH rel ${SOURCE_DIR} ${file})
    string(REGEX REPLACE "^tests/" "" layer_path "${rel}")
    layer_of("${layer_path}" own)
    if(NOT own STREQUAL folder)
      continue() # a sub-folder that is a layer of its own is checked as that layer
    endif()
    math(EXPR checked "${checked} + 1")
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" header "${line}")
      string(REGEX REPLACE "^tests/" "" header_path "${header}")
      if(header MATCHES "^tests/support/")
        continue()
      endif()
      layer_of("${header_path}" target)
      if(target STREQUAL "" OR target STREQUAL own)
        continue() # a header beside the file, or of its own layer
      endif()
      if(NOT rank_${target} LESS rank_${own})
        list(APPEND violations "${rel}: ${line}  (${own} may not include ${target})")
      endif()
    endforeach()
  endforeach()
endforeach()
if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "Headers included from a layer not below:\n  ${text}")
endif()
message(STATUS "Layering: ${checked} files include only their own layer and layers below")
