# libpng and zlib for both targets, as the imported targets PNG::PNG and ZLIB::ZLIB.
# Linux: Debian's libpng-dev and zlib1g-dev. Windows: zlib from libz-mingw-w64-dev
# (static) and libpng cross-built at configure time from Debian's libpng1.6 source
# package, fetched into the build folder (cmake/LibpngFromDebian.cmake).
if(WIN32)
  set(ZLIB_USE_STATIC_LIBS ON)
  find_package(ZLIB REQUIRED)
  include(${CMAKE_CURRENT_LIST_DIR}/LibpngFromDebian.cmake)
else()
  find_package(ZLIB REQUIRED)
  find_package(PNG 1.6 REQUIRED)
endif()
