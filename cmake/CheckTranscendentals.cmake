cmake_minimum_required(VERSION 3.25)
# Every exponential, logarithm, power, trigonometric or hyperbolic function the program takes
# goes through math/ (Exp, Log, Sin, Cos, Atan2), which rounds correctly and so gives the same bits
# on every x86-64 processor. A call of the C or C++ library's own (std::exp, expl, pow, atan2f,
# ...) in the program's code outside math/ fails the build and the test math.only. Comments are
# not read. Run as: cmake -DSOURCE_DIR=<repository> -P cmake/CheckTranscendentals.cmake
include(${CMAKE_CURRENT_LIST_DIR}/Layers.cmake)

set(banned "exp|exp2|expm1|log|log2|log10|log1p|logb|pow|sin|cos|tan|asin|acos|atan|atan2|sinh|cosh|tanh|asinh|acosh|atanh|hypot|cbrt|erf|erfc|tgamma|lgamma|sincos")
set(call "(^|[^A-Za-z0-9_.>])((std|::)?:?:?)(${banned})[lf]?[ \t]*\\(")

set(folders ${VELMORA_LAYERED_FOLDERS} ui app tools python)
list(REMOVE_ITEM folders math)
set(files)
foreach(folder ${folders})
  file(GLOB_RECURSE found ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  list(APPEND files ${found})
endforeach()

set(failures 0)
foreach(file ${files})
  # One list element per line: the characters a CMake list treats specially go first.
  file(READ ${file} text)
  string(REGEX REPLACE "[][;\\]" "_" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    string(REGEX REPLACE "//.*" "" code "${line}")
    if(code MATCHES "${call}")
      file(RELATIVE_PATH name ${SOURCE_DIR} ${file})
      string(STRIP "${line}" line)
      message(SEND_ERROR "${name}:${number}: ${line}: use math/Transcendental.h")
      math(EXPR failures "${failures} + 1")
    endif()
  endforeach()
endforeach()
if(failures)
  message(FATAL_ERROR "${failures} call(s) of a library transcendental function outside math/")
endif()
