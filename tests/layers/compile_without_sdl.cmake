# cmake -DSRC=<src folder> -DCXX=<compiler> -P compile_without_sdl.cmake
# Compiles every source of the rules' layers with only src/ on the include path, so an SDL
# header (or anything else outside the standard library) in world/, rules/ or opponent/ fails.
set(faults "")
foreach(folder world rules opponent)
  file(GLOB sources ${SRC}/${folder}/*.cpp)
  foreach(source ${sources})
    execute_process(
      COMMAND ${CXX} -std=c++20 -fsyntax-only -Wall -Wextra -Werror -I ${SRC} ${source}
      RESULT_VARIABLE rc
      ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
      string(APPEND faults "${source}:\n${err}\n")
    endif()
  endforeach()
endforeach()
if(faults)
  message(FATAL_ERROR "Rules that do not compile on their own:\n${faults}")
endif()
message(STATUS "world, rules and opponent compile with no include path but src/")
