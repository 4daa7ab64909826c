# GoogleTest for the Windows build. Debian ships no mingw build of it, so the win64
# preset compiles Debian's own source tree (package googletest, /usr/src/googletest)
# into this build folder; nothing of it is kept in the repository. Targets: gtest and
# gtest_main (static, linked like everything else in the Windows build).
set(TG_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources (Debian package googletest)")
if(NOT EXISTS ${TG_GOOGLETEST_SOURCE}/googletest/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources are missing in ${TG_GOOGLETEST_SOURCE} (package googletest); run scripts/setup.sh")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "GoogleMock is not needed by the Windows tests" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "Nothing of GoogleTest is installed" FORCE)
add_subdirectory(${TG_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL)
