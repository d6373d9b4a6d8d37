# Warnings are errors for the project's own code.
add_library(xom_warnings INTERFACE)
target_compile_options(xom_warnings INTERFACE
  -Wall -Wextra -Werror -Wno-unused-parameter -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual)

# A library made of every .cpp under a folder. Folders are owned by one part of the system each,
# so new files need no edit here.
function(xom_folder_library name kind folder)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${folder}/*.cpp)
  if(NOT srcs)
    set(srcs ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${name} ${kind} ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE xom_warnings)
endfunction()
