# Shows that the layering check would catch a wrong include: copies the layer folders into a
# scratch tree, plants one include per kind of wrong edge, and expects the check to fail naming
# each of them, after it passed on the same copy before the planting.
# Run as: cmake -DSOURCE_DIR=... -DWORK_DIR=... -P LayeringCheckFailsOnPlantedIncludes.cmake
file(REMOVE_RECURSE ${WORK_DIR})
foreach(folder core instrument localisation plot evaluation records measurement app tests)
  file(COPY ${SOURCE_DIR}/${folder} DESTINATION ${WORK_DIR} FILES_MATCHING PATTERN "*.h"
       PATTERN "*.cpp")
endforeach()

function(run_check result output)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${WORK_DIR} -P
                          ${SOURCE_DIR}/cmake/CheckLayering.cmake
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(${result} ${code} PARENT_SCOPE)
  set(${output} "${out}${err}" PARENT_SCOPE)
endfunction()

run_check(code output)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "The check fails on the unchanged copy:\n${output}")
endif()

# file to plant in | header it must not include
set(plants
  "core/Misc.cpp|instrument/sicl/Sicl.h"
  "instrument/analyzer/HP4x94A.cpp|localisation/TextTables.h"
  "plot/curves/CurveStore.cpp|plot/FastGraph.h"
  "evaluation/Capacitance.cpp|records/SpectrumFile.h"
  "records/Protocol.cpp|measurement/FrequencyRanges.h"
  "measurement/FrequencyRanges.cpp|plot/GraphExport.h"
  "plot/FastGraph.cpp|app/MainWindow.h"
  "localisation/TextTables.cpp|localisation/widgets/WidgetTexts.h"
  "tests/records/Protocol_test.cpp|app/Dialogs.h")
foreach(plant ${plants})
  string(REPLACE "|" ";" parts "${plant}")
  list(GET parts 0 file)
  list(GET parts 1 header)
  if(NOT EXISTS ${WORK_DIR}/${file})
    message(FATAL_ERROR "No file ${file} to plant an include in")
  endif()
  file(APPEND ${WORK_DIR}/${file} "#include \"${header}\"\n")
endforeach()
run_check(code output)
if(code EQUAL 0)
  message(FATAL_ERROR "The check passed with planted wrong includes:\n${output}")
endif()
foreach(plant ${plants})
  string(REPLACE "|" ";" parts "${plant}")
  list(GET parts 0 file)
  list(GET parts 1 header)
  string(FIND "${output}" "${file}: #include \"${header}\"" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "The check did not name ${file} including ${header}:\n${output}")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK_DIR})
message(STATUS "Layering check named all planted includes")
