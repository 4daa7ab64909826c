# libpng 1.6 for the Windows build, cross-built at configure time from Debian's
# libpng1.6 source package. The source is fetched with `apt-get source` through a private
# apt configuration under the build folder (its own deb-src list, package lists and
# cache), so the machine's apt configuration is never touched and no deb-src line is
# needed there. Nothing of it enters the repository. Defines PNG::PNG (static, with
# ZLIB::ZLIB as its dependency).
set(_png_root ${CMAKE_BINARY_DIR}/_deps/libpng)
set(_png_install ${_png_root}/install)
set(_png_stamp ${_png_install}/built-with-${TG_MINGW_TRIPLE})

function(_tg_png_run step log)
  execute_process(COMMAND ${ARGN}
                  RESULT_VARIABLE _rc OUTPUT_FILE ${_png_root}/${log}.log ERROR_FILE ${_png_root}/${log}.err)
  if(NOT _rc EQUAL 0)
    file(READ ${_png_root}/${log}.err _err)
    message(FATAL_ERROR "libpng: ${step} failed (${_rc}); see ${_png_root}/${log}.log and .err\n${_err}")
  endif()
endfunction()

if(NOT EXISTS ${_png_stamp})
  find_program(TG_APT_GET apt-get REQUIRED)
  find_program(TG_DPKG_SOURCE dpkg-source)
  if(NOT TG_DPKG_SOURCE)
    message(FATAL_ERROR "libpng: dpkg-source is missing (package dpkg-dev); run scripts/setup.sh")
  endif()

  # The private apt configuration: Debian 12's source indexes, verified with the
  # machine's Debian archive keyring.
  set(_apt ${_png_root}/apt)
  file(REMOVE_RECURSE ${_png_root}/src)
  file(MAKE_DIRECTORY ${_apt}/sources.list.d ${_apt}/preferences.d ${_apt}/lists/partial
       ${_apt}/cache/archives/partial ${_png_root}/src)
  set(_keyring /usr/share/keyrings/debian-archive-keyring.gpg)
  set(_opts "[signed-by=${_keyring}]")
  file(WRITE ${_apt}/sources.list
       "deb-src ${_opts} http://deb.debian.org/debian bookworm main\n"
       "deb-src ${_opts} http://deb.debian.org/debian bookworm-updates main\n"
       "deb-src ${_opts} http://deb.debian.org/debian-security bookworm-security main\n")
  file(WRITE ${_apt}/apt.conf
       "Dir::Etc::SourceList \"${_apt}/sources.list\";\n"
       "Dir::Etc::SourceParts \"${_apt}/sources.list.d\";\n"
       "Dir::Etc::Preferences \"${_apt}/preferences\";\n"
       "Dir::Etc::PreferencesParts \"${_apt}/preferences.d\";\n"
       "Dir::State::Lists \"${_apt}/lists\";\n"
       "Dir::Cache \"${_apt}/cache\";\n"
       "Dir::Cache::pkgcache \"\";\n"
       "Dir::Cache::srcpkgcache \"\";\n"
       "APT::Sandbox::User \"root\";\n"
       "Acquire::Languages \"none\";\n")
  message(STATUS "libpng: fetching Debian's libpng1.6 source package")
  _tg_png_run("apt-get update (private sources list)" apt-update
              ${CMAKE_COMMAND} -E env APT_CONFIG=${_apt}/apt.conf ${TG_APT_GET} -q update)
  # The newest version first; should a mirror lack its files (a security update not yet
  # mirrored, say), the next older version in the indexes is taken.
  execute_process(COMMAND ${CMAKE_COMMAND} -E env APT_CONFIG=${_apt}/apt.conf apt-cache showsrc --only-source libpng1.6
                  OUTPUT_VARIABLE _showsrc RESULT_VARIABLE _rc ERROR_QUIET)
  string(REGEX MATCHALL "\nVersion: [^\n]+" _versions "\n${_showsrc}")
  list(TRANSFORM _versions REPLACE "\nVersion: " "")
  list(REMOVE_DUPLICATES _versions)
  list(SORT _versions COMPARE NATURAL ORDER DESCENDING)
  if(NOT _versions)
    message(FATAL_ERROR "libpng: no libpng1.6 source package in the indexes; see ${_png_root}/apt-update.log")
  endif()
  set(_fetched FALSE)
  foreach(_version IN LISTS _versions)
    message(STATUS "libpng: apt-get source libpng1.6=${_version}")
    execute_process(COMMAND ${CMAKE_COMMAND} -E env APT_CONFIG=${_apt}/apt.conf
                            ${TG_APT_GET} -q source --only-source libpng1.6=${_version}
                    WORKING_DIRECTORY ${_png_root}/src RESULT_VARIABLE _rc
                    OUTPUT_FILE ${_png_root}/apt-source.log ERROR_FILE ${_png_root}/apt-source.err)
    if(_rc EQUAL 0)
      set(_fetched TRUE)
      break()
    endif()
    file(GLOB _partial ${_png_root}/src/*)
    if(_partial)
      file(REMOVE_RECURSE ${_partial})
    endif()
  endforeach()
  if(NOT _fetched)
    file(READ ${_png_root}/apt-source.err _err)
    message(FATAL_ERROR "libpng: apt-get source failed for every version (${_versions})\n${_err}")
  endif()
  file(GLOB _png_sources LIST_DIRECTORIES true ${_png_root}/src/libpng1.6-*)
  list(FILTER _png_sources INCLUDE REGEX "/libpng1\\.6-[0-9.]+$")
  if(NOT _png_sources OR NOT EXISTS "${_png_sources}/png.h")
    message(FATAL_ERROR "libpng: the unpacked source tree was not found in ${_png_root}/src")
  endif()

  message(STATUS "libpng: cross-building ${_png_sources}")
  file(REMOVE_RECURSE ${_png_root}/build ${_png_install})
  _tg_png_run("configure" png-configure
              ${CMAKE_COMMAND} -S ${_png_sources} -B ${_png_root}/build -G ${CMAKE_GENERATOR}
              -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
              -DCMAKE_BUILD_TYPE=Release
              -DCMAKE_INSTALL_PREFIX=${_png_install}
              -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
              -DPNG_FRAMEWORK=OFF -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON
              -DZLIB_LIBRARY=${ZLIB_LIBRARIES} -DZLIB_INCLUDE_DIR=${ZLIB_INCLUDE_DIRS})
  _tg_png_run("build" png-build ${CMAKE_COMMAND} --build ${_png_root}/build --parallel 2)
  _tg_png_run("install" png-install ${CMAKE_COMMAND} --install ${_png_root}/build)
  file(WRITE ${_png_stamp} "${_png_sources}\n")
endif()

file(GLOB _png_lib ${_png_install}/lib/libpng16*.a)
list(FILTER _png_lib EXCLUDE REGEX "\\.dll\\.a$")
if(NOT _png_lib OR NOT EXISTS ${_png_install}/include/png.h)
  message(FATAL_ERROR "libpng: no static library in ${_png_install}; delete ${_png_root} and configure again")
endif()
list(GET _png_lib 0 _png_lib)
add_library(PNG::PNG STATIC IMPORTED GLOBAL)
set_target_properties(PNG::PNG PROPERTIES
  IMPORTED_LOCATION ${_png_lib}
  INTERFACE_INCLUDE_DIRECTORIES ${_png_install}/include
  INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
file(STRINGS ${_png_install}/include/png.h _png_version REGEX "^#define PNG_LIBPNG_VER_STRING")
message(STATUS "libpng: ${_png_lib} (${_png_version})")
