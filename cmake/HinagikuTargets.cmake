# Helpers shared by every folder's CMakeLists.

# hinagiku_unity(TARGET)
#   Compiles the target's sources in batches when HINAGIKU_UNITY is on: the
#   Qt and standard headers are then parsed once per batch, not once per file.
#   Window libraries (folders named ui) stay one file at a time: each window
#   file keeps its own short helpers (qs, text, ...) under the same names.
function(hinagiku_unity name)
  if(HINAGIKU_UNITY AND NOT CMAKE_CURRENT_SOURCE_DIR MATCHES "/ui(/|$)")
    set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
  endif()
endfunction()

# hinagiku_library(NAME SOURCES... [LIBS ...])
#   A static library whose headers are included as "folder/file.h" from src/.
function(hinagiku_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  hinagiku_unity(${name})
endfunction()

# hinagiku_gtest(NAME [OWN_MAIN] SOURCES... LIBS ...)
#   A GoogleTest program registered with CTest. Tests run without a display
#   and without an audio device. OWN_MAIN: the sources define main() (for
#   example to create a QGuiApplication); otherwise GoogleTest's main is used.
function(hinagiku_gtest name)
  cmake_parse_arguments(ARG "OWN_MAIN" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} hinagiku_testsupport GTest::gtest GTest::gmock)
  if(NOT ARG_OWN_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  hinagiku_unity(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SDL_AUDIODRIVER=dummy;HINAGIKU_BUILD_DIR=${PROJECT_BINARY_DIR};HINAGIKU_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
    TIMEOUT 600)
endfunction()

# hinagiku_qtest(NAME SOURCES... LIBS ...)
#   A Qt Test program (windows, offscreen) registered with CTest.
function(hinagiku_qtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} hinagiku_testsupport Qt6::Test)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SDL_AUDIODRIVER=dummy;HINAGIKU_BUILD_DIR=${PROJECT_BINARY_DIR};HINAGIKU_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
    TIMEOUT 600)
endfunction()

# hinagiku_bench(NAME SOURCES... LIBS ...)
function(hinagiku_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
endfunction()

# Adds every listed subfolder that has a CMakeLists.txt, so that subsystems
# join the build as they arrive.
# HINAGIKU_SKIP (a list of folder names) leaves folders out of a build.
set(HINAGIKU_SKIP "" CACHE STRING "Subsystem folders to leave out of this build")
function(hinagiku_add_present_subdirectories)
  foreach(dir ${ARGN})
    if(dir IN_LIST HINAGIKU_SKIP)
      continue()
    endif()
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
