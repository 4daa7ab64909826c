# Drives the Windows smoke test from the Linux build (cmake -P):
#   MODE=build  configure and build the win64 preset in SOURCE_DIR/build/win64
#   MODE=run    run build/win64/WineSmokeTest.exe under Wine (prefix WINE_PREFIX) and
#               pass only when it exits 0 and reports "<N> passed, 0 failed"
#   MODE=abi    run build/win64/abi_tests.exe (the ABI tests, GoogleTest) the same way
#               and pass only when it exits 0 and every test that ran passed
#   MODE=editor run build/win64/editor_tests.exe (the editor's tests) the same way, on a
#               virtual display (xvfb-run), since some of them open windows
#   MODE=snapshot  draw each page with the default sound and two factory programs with
#               the Linux tgsnapshot (LINUX_SNAPSHOT) and with build/win64/tgsnapshot.exe
#               under Wine, and pass only when every pair of pictures looks alike
cmake_minimum_required(VERSION 3.25)

if(MODE STREQUAL "build")
  find_program(_cross x86_64-w64-mingw32-g++-posix)
  if(NOT _cross)
    message(FATAL_ERROR "the mingw-w64 cross compiler is missing (g++-mingw-w64-x86-64-posix); run scripts/setup.sh")
  endif()
  foreach(_step "--preset;win64" "--build;--preset;win64")
    execute_process(COMMAND ${CMAKE_COMMAND} ${_step} WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE _rc)
    if(NOT _rc EQUAL 0)
      message(FATAL_ERROR "cmake ${_step} failed (${_rc})")
    endif()
  endforeach()
  return()
endif()

if(MODE STREQUAL "run")
  set(_program WineSmokeTest.exe)
  set(_args "")
elseif(MODE STREQUAL "abi")
  set(_program abi_tests.exe)
  set(_args --gtest_color=no)
elseif(MODE STREQUAL "editor")
  set(_program editor_tests.exe)
  set(_args --gtest_color=no)
elseif(MODE STREQUAL "snapshot")
  set(_program tgsnapshot.exe)
else()
  message(FATAL_ERROR "MODE must be build, run, abi, editor or snapshot")
endif()
find_program(_wine wine)
find_program(_wineserver NAMES wineserver wineserver-stable PATHS /usr/lib/wine)
if(NOT _wine)
  message(FATAL_ERROR "wine is missing (packages wine and wine64); run scripts/setup.sh")
endif()
set(_exe ${SOURCE_DIR}/build/win64/${_program})
set(_dll ${SOURCE_DIR}/build/win64/Thumpgeist.dll)
foreach(_file ${_exe} ${_dll})
  if(NOT EXISTS ${_file})
    message(FATAL_ERROR "${_file} is missing; build it with: cmake --preset win64 && cmake --build --preset win64")
  endif()
endforeach()

file(MAKE_DIRECTORY ${WINE_PREFIX})
set(ENV{WINEPREFIX} ${WINE_PREFIX})
set(ENV{WINEDEBUG} -all)
# No Mono or Gecko installers, no desktop integration: a console program needs none.
set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml,winemenubuilder.exe=")
unset(ENV{DISPLAY})
if(MODE STREQUAL "snapshot")
  # Text differs a little between GDI and FreeType (hinting, edges); everything else is
  # the same bitmaps drawn by the same code.
  set(_dir ${SOURCE_DIR}/build/win64/snapshots)
  file(MAKE_DIRECTORY ${_dir})
  set(_failed "")
  foreach(_program_arg "default" "0" "29")
    foreach(_page synth scope about)
      set(_sound "")
      if(NOT _program_arg STREQUAL "default")
        set(_sound --program ${_program_arg})
      endif()
      set(_name ${_page}-${_program_arg})
      execute_process(COMMAND ${LINUX_SNAPSHOT} --page ${_page} ${_sound} -o ${_dir}/${_name}-linux.png
                      RESULT_VARIABLE _rc OUTPUT_QUIET)
      if(NOT _rc EQUAL 0)
        message(FATAL_ERROR "the Linux snapshot ${_name} failed (${_rc})")
      endif()
      execute_process(COMMAND ${_wine} ${_exe} --page ${_page} ${_sound} -o ${_name}-windows.png
                              --compare ${_name}-linux.png
                      WORKING_DIRECTORY ${_dir} RESULT_VARIABLE _rc OUTPUT_VARIABLE _out ERROR_VARIABLE _err)
      message("${_name}: ${_out}${_err}")
      # The Windows program must find every image among its own resources.
      if(NOT _rc EQUAL 0 OR NOT _out MATCHES ", 0 placeholder images")
        list(APPEND _failed ${_name})
      endif()
    endforeach()
  endforeach()
  if(_wineserver)
    execute_process(COMMAND ${_wineserver} -k RESULT_VARIABLE _ignored OUTPUT_QUIET ERROR_QUIET)
  endif()
  if(_failed)
    message(FATAL_ERROR "the Windows pictures differ from the Linux ones: ${_failed}")
  endif()
  return()
endif()
# The editor's tests open real windows, which Wine makes only on a display: they run on
# a virtual one of their own.
set(_launcher "")
if(MODE STREQUAL "editor")
  find_program(_xvfb xvfb-run)
  if(NOT _xvfb)
    message(FATAL_ERROR "xvfb-run is missing (package xvfb); run scripts/setup.sh")
  endif()
  set(_launcher ${_xvfb} -a -s "-screen 0 1280x1024x24")
endif()
execute_process(COMMAND ${_launcher} ${_wine} ${_exe} ${_args} WORKING_DIRECTORY ${SOURCE_DIR}/build/win64
                RESULT_VARIABLE _rc OUTPUT_VARIABLE _out ERROR_VARIABLE _err)
# The wine server of this prefix is stopped, so nothing outlives the test.
if(_wineserver)
  execute_process(COMMAND ${_wineserver} -k RESULT_VARIABLE _ignored OUTPUT_QUIET ERROR_QUIET)
endif()
message("${_out}")
if(_err)
  message("wine stderr:\n${_err}")
endif()
if(NOT _rc EQUAL 0)
  message(FATAL_ERROR "${_program} exited with ${_rc}")
endif()
if(MODE STREQUAL "run")
  if(NOT _out MATCHES "(^|\n)[1-9][0-9]* passed, 0 failed\r?\n")
    message(FATAL_ERROR "${_program} did not report a clean result")
  endif()
  return()
endif()
# GoogleTest: "[==========] N tests from M test suites ran." then "[  PASSED  ] N tests."
# with the same N; a failed or skipped test, or none at all, is not a pass.
if(NOT _out MATCHES "\n\\[==========\\] ([0-9]+) tests? from [0-9]+ test suites? ran\\.")
  message(FATAL_ERROR "${_program} printed no GoogleTest summary")
endif()
set(_ran ${CMAKE_MATCH_1})
if(_ran EQUAL 0 OR NOT _out MATCHES "\n\\[  PASSED  \\] ${_ran} tests?\\.\r?\n"
   OR _out MATCHES "\n\\[  (FAILED|SKIPPED) \\]")
  message(FATAL_ERROR "${_program}: not all of its ${_ran} tests passed")
endif()
