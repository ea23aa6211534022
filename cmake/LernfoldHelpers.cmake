# House functions for Lernfold's targets: one place sets the language level, the warnings and the
# test registration, so every folder's CMakeLists stays a plain list of sources.

function(_lf_common_options target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  set_target_properties(${target} PROPERTIES CXX_EXTENSIONS OFF)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(LF_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  # GCC 12 reports impossible overlaps inside std::string's own copies at -O2/-O3 (a known false
  # positive of its -Wrestrict); it would fail every optimised build.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()

# Qt targets run moc, uic and rcc; forms are found in forms/ whatever folder the target lives in.
function(_lf_qt_options target)
  set_target_properties(${target} PROPERTIES
    AUTOMOC ON
    AUTOUIC ON
    AUTORCC ON
    AUTOUIC_SEARCH_PATHS "${PROJECT_SOURCE_DIR}/forms")
endfunction()

# lf_add_library(NAME SOURCES ... [DEPENDS ...] [PRIVATE_DEPENDS ...] [QT])
# QT marks a window-layer library (moc, uic, rcc); model and format libraries never set it.
function(lf_add_library name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;DEPENDS;PRIVATE_DEPENDS" ${ARGN})
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "lf_add_library(${name}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} PRIVATE ${ARG_PRIVATE_DEPENDS})
  _lf_common_options(${name})
  if(ARG_QT)
    _lf_qt_options(${name})
  endif()
endfunction()

# lf_add_test(NAME SOURCES ... [DEPENDS ...] [NEEDS_GUI])
# NEEDS_GUI tests get a QApplication on the offscreen platform (unless another platform is set).
function(lf_add_test name)
  cmake_parse_arguments(ARG "NEEDS_GUI" "" "SOURCES;DEPENDS" ${ARGN})
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "lf_add_test(${name}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_NEEDS_GUI)
    target_link_libraries(${name} PRIVATE lf_test_support_gui Qt6::Test)
    _lf_qt_options(${name})
  else()
    target_link_libraries(${name} PRIVATE lf_test_support_main)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} lf_test_support GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE LF_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
  _lf_common_options(${name})
  # A case that blocks (a window left waiting for input, a deadlock) fails after five minutes instead of
  # holding the whole run.
  set(props TIMEOUT 300)
  if(ARG_NEEDS_GUI)
    list(APPEND props ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${props})
endfunction()

# lf_add_bench(NAME SOURCES ... [DEPENDS ...])
function(lf_add_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "lf_add_bench(${name}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} benchmark::benchmark)
  _lf_common_options(${name})
endfunction()
