# Reads the generated music and effects with SoX, a decoder independent of the game's own, and
# checks that each is a 44.1 kHz stereo file of its kind with a plausible length.
# Run as: cmake -DSOXI=<soxi> -DDATA_DIR=<folder> -P sox_durations.cmake

# file:type:shortest:longest length in seconds
set(files
  tatsumakinotourai.mp3:mp3:40:90
  seisen.mp3:mp3:150:180
  senka.mp3:mp3:40:90
  omegacentauri1.mp3:mp3:40:90
  se01.wav:wav:0.08:0.2
  se02.wav:wav:0.08:0.25
  se03.wav:wav:0.35:0.7)

set(failures "")
foreach(row IN LISTS files)
  string(REPLACE ":" ";" entry "${row}")
  list(GET entry 0 name)
  list(GET entry 1 want_type)
  list(GET entry 2 shortest)
  list(GET entry 3 longest)
  set(path "${DATA_DIR}/${name}")
  foreach(field t r c D)
    execute_process(COMMAND "${SOXI}" -${field} "${path}"
      OUTPUT_VARIABLE value ERROR_VARIABLE error RESULT_VARIABLE rc
      OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT rc EQUAL 0)
      string(STRIP "${error}" error)
      list(APPEND failures "${name}: soxi -${field} failed: ${error}")
      break()
    endif()
    set(info_${field} "${value}")
  endforeach()
  if(NOT rc EQUAL 0)
    continue()
  endif()
  message(STATUS "${name}: ${info_t}, ${info_r} Hz, ${info_c} channels, ${info_D} s")
  if(NOT info_t STREQUAL want_type)
    list(APPEND failures "${name}: type ${info_t}, not ${want_type}")
  endif()
  if(NOT info_r EQUAL 44100 OR NOT info_c EQUAL 2)
    list(APPEND failures "${name}: ${info_r} Hz ${info_c} channels, not 44100 Hz stereo")
  endif()
  if(info_D LESS shortest OR info_D GREATER longest)
    list(APPEND failures "${name}: ${info_D} s, not between ${shortest} and ${longest} s")
  endif()
endforeach()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "audio files:\n  ${text}")
endif()
