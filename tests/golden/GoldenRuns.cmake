# cmake -DBATCH=velmora-batch -DSCENE_TOOL=velmora_bench_scene -DWORK=<folder> -DEXPECTED=runs.txt
#       [-DWRITE=ON] -P GoldenRuns.cmake
# Runs two scenes through velmora-batch in every mode and with every switch, on 1 to 3 threads, and compares the SHA-256 of each output document and its last energies (21
# digits) with runs.txt. Every operation of a run is correctly rounded, so these are the same on
# every x86-64 processor; a difference is a change of the program's results. WRITE=ON writes
# runs.txt anew from this build (for a deliberate change, said so in its commit).
# name, scene (the benchmark's, or spread.ato: a wider cloud with a short G length, where the
# contact part and the walls of the modes act), threads, switches
set(runs
    "free        bench  1 --mode free"
    "cool        bench  2 --cool"
    "blockade    bench  3 --blockade"
    "taoscope    bench  1 --taoscope"
    "all-four    bench  2 --cool --contact --taoscope --blockade"
    "current1    bench  3 --mode current1"
    "current2    spread 1 --mode current2"
    "hot         spread 2 --mode hot"
    "cold        spread 3 --mode cold"
    "contact     spread 1 --contact"
    "hot-contact spread 2 --mode hot --contact --taoscope"
    "cold-dt     spread 3 --mode cold --contact --cool --dt 0.0005")
set(steps 60)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${SCENE_TOOL} ${WORK}/scene.ato RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${SCENE_TOOL} failed: ${status}")
endif()

set(results "")
foreach(run IN LISTS runs)
  string(REGEX MATCH "^([^ ]+) +([a-z]+) +([0-9]+) +(.*)$" matched "${run}")
  set(name ${CMAKE_MATCH_1})
  set(scene ${WORK}/scene.ato)
  if(CMAKE_MATCH_2 STREQUAL "spread")
    set(scene ${CMAKE_CURRENT_LIST_DIR}/spread.ato)
  endif()
  separate_arguments(flags UNIX_COMMAND "${CMAKE_MATCH_4}")
  execute_process(COMMAND ${BATCH} --quiet --steps ${steps} --threads ${CMAKE_MATCH_3} ${flags}
                          --output ${WORK}/${name}.ato --log - --log-every ${steps} ${scene}
                  RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${name}: velmora-batch failed (${status}): ${errors}")
  endif()
  file(SHA256 ${WORK}/${name}.ato digest)
  string(STRIP "${log}" log)
  string(REGEX REPLACE "^.*\n" "" last "${log}")  # the row after the last step
  string(REGEX REPLACE "[ \t]+" " " last "${last}")
  string(APPEND results "${name} ${digest} ${last}\n")
endforeach()

if(WRITE)
  file(WRITE ${EXPECTED} "${results}")
  return()
endif()
file(READ ${EXPECTED} expected)
if(NOT results STREQUAL expected)
  file(WRITE ${WORK}/runs.txt "${results}")
  message(FATAL_ERROR "the runs differ from ${EXPECTED}; this build gives ${WORK}/runs.txt:\n${results}")
endif()
