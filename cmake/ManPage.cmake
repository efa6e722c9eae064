# Writes the man page zelvanor-ymt.1 from the program's --help text, so that both always agree.
# Called at build time: cmake -DEXECUTABLE=... -DVERSION=... -DOUTPUT=... -P ManPage.cmake
set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND ${EXECUTABLE} --help OUTPUT_VARIABLE help RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR help STREQUAL "")
  message(FATAL_ERROR "${EXECUTABLE} --help failed (${result})")
endif()

# roff treats a leading "." or "'" and every backslash specially.
string(REPLACE "\\" "\\e" help "${help}")
string(REPLACE "-" "\\-" help "${help}")
string(REGEX REPLACE "\n$" "" help "${help}")
# ";" separates CMake list items: hide it while the text is split into lines.
string(REPLACE ";" "@SEMICOLON@" help "${help}")
string(REPLACE "\n" ";" lines "${help}")

set(name_line "")
set(body "")
set(in_options FALSE)
foreach(line IN LISTS lines)
  if(line MATCHES "^Usage: (.*)$")
    set(synopsis "${CMAKE_MATCH_1}")
  elseif(line MATCHES "^Options:")
    set(in_options TRUE)
    string(APPEND body ".SH OPTIONS\n")
  elseif(in_options AND line MATCHES "^  (\\\\-\\\\-[^ ]+( [A-Z]+)?) +(.*)$")
    string(APPEND body ".TP\n.B ${CMAKE_MATCH_1}\n${CMAKE_MATCH_3}\n")
  elseif(in_options AND line MATCHES "^ +(.*)$")
    string(APPEND body "${CMAKE_MATCH_1}\n")
  elseif(line STREQUAL "")
    string(APPEND body ".PP\n")
  elseif(name_line STREQUAL "")
    set(name_line "${line}")
  else()
    string(APPEND body "${line}\n")
  endif()
endforeach()

string(REPLACE "@SEMICOLON@" ";" body "${body}")
string(REPLACE "@SEMICOLON@" ";" name_line "${name_line}")
string(TIMESTAMP month "%Y-%m" UTC)
file(WRITE ${OUTPUT}
".TH ZELVANOR-YMT 1 \"${month}\" \"Zelvanor Ymt ${VERSION}\" \"User Commands\"
.SH NAME
zelvanor\\-ymt \\- ${name_line}
.SH SYNOPSIS
.B ${synopsis}
.SH DESCRIPTION
${body}.SH FILES
.TP
.I ~/.local/share/zelvanor\\-ymt/
program directory of an installed program: QC.txt, sicl.conf, data/ and backup/
.TP
.I PREFIX/share/zelvanor\\-ymt/
language files and a commented sicl.conf example (PREFIX is /usr for the package)
.SH SEE ALSO
The user guide, PREFIX/share/doc/zelvanor\\-ymt/guide.md
")
