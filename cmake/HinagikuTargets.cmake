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

# Qt's widget headers are most of the work of compiling a window file or a Qt
# Test program. With HINAGIKU_PCH they are precompiled once per build and
# shared. GCC takes a precompiled header only where every macro defined when
# it was made is defined alike, so it is made with Qt's include folders and
# only the macro and -fPIC every Qt user has, not with Qt's per-module macros.
set(HINAGIKU_QT_HEADERS
  <QApplication> <QCheckBox> <QCloseEvent> <QComboBox> <QFileDialog> <QFileInfo>
  <QGridLayout> <QGroupBox> <QHBoxLayout> <QImage> <QLabel> <QLineEdit> <QListWidget>
  <QMenu> <QMessageBox> <QMimeData> <QMouseEvent> <QPainter> <QPlainTextEdit> <QPointer>
  <QPushButton> <QScreen> <QSpinBox> <QString> <QTextCursor> <QTextDocument> <QTextEdit>
  <QTimer> <QVBoxLayout> <QWidget>
  <algorithm> <array> <filesystem> <functional> <memory> <optional> <string> <vector>)

function(hinagiku_add_pch_target)
  if(NOT HINAGIKU_PCH)
    return()
  endif()
  add_library(hinagiku_pch STATIC ${PROJECT_SOURCE_DIR}/cmake/pch_anchor.cpp)
  target_include_directories(hinagiku_pch PRIVATE
    $<TARGET_PROPERTY:Qt6::Widgets,INTERFACE_INCLUDE_DIRECTORIES>)
  target_compile_definitions(hinagiku_pch PRIVATE $<$<NOT:$<CONFIG:Debug>>:QT_NO_DEBUG>)
  target_compile_options(hinagiku_pch PRIVATE -fPIC)
  target_precompile_headers(hinagiku_pch PRIVATE ${HINAGIKU_QT_HEADERS})
endfunction()

# hinagiku_use_pch(TARGET): TARGET links Qt Widgets.
function(hinagiku_use_pch name)
  if(HINAGIKU_PCH)
    target_precompile_headers(${name} REUSE_FROM hinagiku_pch)
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
  # Window libraries are compiled one file at a time (see above): they
  # share the precompiled Qt headers instead.
  if(CMAKE_CURRENT_SOURCE_DIR MATCHES "/ui(/|$)")
    hinagiku_use_pch(${name})
  endif()
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
  # Only window tests: the shared headers declare QApplication, whose type
  # information a program without Qt Widgets cannot link under UBSan.
  set(window_libs ${ARG_LIBS})
  list(FILTER window_libs INCLUDE REGEX "_ui$|^Qt6::Widgets$|^hinagiku_mainwindow$")
  if(window_libs)
    hinagiku_use_pch(${name})
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SDL_AUDIODRIVER=dummy;HINAGIKU_BUILD_DIR=${PROJECT_BINARY_DIR};HINAGIKU_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
    TIMEOUT 600)
endfunction()

# hinagiku_bench(NAME [QT_MAIN] SOURCES... LIBS ...)
#   QT_MAIN: the shared entry point with a QApplication (bench/support);
#   otherwise the sources define main().
function(hinagiku_bench name)
  cmake_parse_arguments(ARG "QT_MAIN" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
  if(ARG_QT_MAIN)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/bench/support/qt_bench_main.cpp)
    target_link_libraries(${name} PRIVATE Qt6::Widgets)
  endif()
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
