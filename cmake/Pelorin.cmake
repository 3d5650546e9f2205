# Shared helpers for the subsystem folders.

# Adds the listed subfolders that exist. Each subsystem owns its own
# CMakeLists.txt, so folders can land one at a time.
macro(pelorin_add_subdirectories)
  foreach(_dir ${ARGN})
    if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${_dir}/CMakeLists.txt")
      add_subdirectory(${_dir})
    endif()
  endforeach()
endmacro()

# pelorin_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One QTest executable, run headless under the offscreen platform.
function(pelorin_add_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  # Shared fixtures (a program folder in a temporary directory, ...).
  target_include_directories(${name} PRIVATE "${CMAKE_SOURCE_DIR}/tests/common")
  target_compile_definitions(${name} PRIVATE
    PELORIN_CONTENT_DIR="${PELORIN_CONTENT_SOURCE_DIR}"
    PELORIN_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    PELORIN_BINARY_DIR="${CMAKE_BINARY_DIR}"
    PELORIN_PROGRAM_DIR="${PELORIN_PROGRAM_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_QPA_FONTDIR=/usr/share/fonts")
endfunction()

# pelorin_add_bench(<name> SOURCES <files...> LIBS <targets...>)
function(pelorin_add_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_compile_definitions(${name} PRIVATE
    PELORIN_CONTENT_DIR="${PELORIN_CONTENT_SOURCE_DIR}"
    PELORIN_PROGRAM_DIR="${PELORIN_PROGRAM_DIR}"
    PELORIN_BINARY_DIR="${CMAKE_BINARY_DIR}")
endfunction()
