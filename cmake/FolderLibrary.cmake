# Library boundaries. Headers are included by their path from the source root
# ("juxcommoncode/Snmp/SnmpMessage.h"), but a library publishes only its own folder: each folder
# gets an include root of its own in the build tree holding a single link to it. A library then
# sees its own headers and those of the libraries it links, and nothing else, so a forbidden
# include fails to compile instead of holding by habit.
set(XOM_INCLUDE_ROOTS ${CMAKE_BINARY_DIR}/include-roots)

# The include root that exposes the source folder FOLDER (relative to the source root) alone.
function(xom_include_root out folder)
  string(REPLACE "/" "_" key ${folder})
  set(root ${XOM_INCLUDE_ROOTS}/${key})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if(NOT EXISTS ${root}/${folder})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  set(${out} ${root} PARENT_SCOPE)
endfunction()

# A library made of every .cpp under the source folder FOLDER (relative to the source root),
# publishing that folder alone. Folders are owned by one part of the system each, so new files
# need no edit here.
function(xom_folder_library name kind folder)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT srcs)
    set(srcs ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${name} ${kind} ${srcs})
  xom_include_root(root ${folder})
  target_include_directories(${name} PUBLIC ${root})
  target_link_libraries(${name} PRIVATE xom_warnings)
endfunction()
