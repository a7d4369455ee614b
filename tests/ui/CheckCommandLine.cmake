cmake_minimum_required(VERSION 3.25)
# velmora's command line as a process, with no display at all: --help and --version must answer
# without a window, and a usage error must say so with status 2. Run by CTest as
# ui.commandLine with PROGRAM and VERSION.
# Each case: the arguments (","-separated), the status, what stdout and stderr match.
set(cases
  "--help|0|^usage: velmora \\[options\\] \\[FILE\\]\n.*--version|^$"
  "--version|0|^Velmora ${VERSION}\n$|^$"
  "--version,--help|0|^usage: velmora|^$"
  "--frobnicate|2|^$|^velmora: unknown option '--frobnicate'\n\nusage: velmora"
  "-x,scene.ato|2|^$|^velmora: unknown option '-x'"
  "a.ato,b.ato|2|^$|^velmora: one document at a time\n")
foreach(case ${cases})
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 arguments)
  list(GET fields 1 status)
  list(GET fields 2 out_pattern)
  list(GET fields 3 err_pattern)
  string(REPLACE "," ";" arguments "${arguments}")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
            ${PROGRAM} ${arguments}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 20)
  if(NOT result STREQUAL status OR NOT out MATCHES "${out_pattern}" OR NOT err MATCHES "${err_pattern}")
    message(SEND_ERROR "velmora ${arguments}: status ${result} (expected ${status})\nstdout: ${out}\nstderr: ${err}")
  endif()
endforeach()
