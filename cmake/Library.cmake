# tg_folder_library(name dir deps...): a static library made of every source in one
# folder of the tree. Each folder of the architecture is one library; the module, the
# tools, the tests and the benchmarks link the ones they need.
function(tg_folder_library name)
  file(GLOB_RECURSE _sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  # Platform files are chosen by the folder's own CMakeLists.
  list(FILTER _sources EXCLUDE REGEX "/platform/(posix|win)/")
  if(NOT _sources)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARGN})
    return()
  endif()
  add_library(${name} STATIC ${_sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARGN} PRIVATE tg_warnings)
endfunction()
