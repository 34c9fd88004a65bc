# cmake -DSOURCE_DIR=<top of the tree> -DOUTPUT=<file> [-DALL=ON] -P extract.cmake
# The texts of the game, as a catalogue template: every text the code hands to tr() and every
# text marked N_() in its tables and constants. With ALL, every string of the code instead, for
# the check that no Japanese text escapes the catalogue.
find_program(XGETTEXT xgettext REQUIRED)
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h)
list(SORT sources)
if(ALL)
  set(keywords --extract-all)
  # Every "" of the code would be named as a reserved msgid.
  set(quiet ERROR_QUIET)
else()
  set(keywords --keyword= --keyword=tr:2 --keyword=N_)
  set(quiet)
endif()
execute_process(
  COMMAND ${XGETTEXT} --from-code=UTF-8 --language=C++ ${keywords} --add-location=file
          --package-name=nevalt --msgid-bugs-address=nevalt@nevalt.org --no-wrap
          --output=${OUTPUT} ${sources}
  WORKING_DIRECTORY ${SOURCE_DIR}
  RESULT_VARIABLE status ${quiet})
if(NOT status EQUAL 0)
  message(FATAL_ERROR "xgettext failed")
endif()
