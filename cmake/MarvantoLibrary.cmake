# marvanto_library(<target> [FOLDERS <subfolders>...] [PUBLIC_LIBS <libs>...])
# One library target for the sources of the current folder and of the given
# subfolders (a large layer grouped by job). A folder whose
# sources are not written yet gives an interface target, so the layers can be
# linked in their final order from the start.
function(marvanto_library target)
  cmake_parse_arguments(ARG "" "" "PUBLIC_LIBS;FOLDERS" ${ARGN})
  set(sources)
  set(headers)
  foreach(folder . ${ARG_FOLDERS})
    file(GLOB folder_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
    file(GLOB folder_headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.h)
    list(APPEND sources ${folder_sources})
    list(APPEND headers ${folder_headers})
  endforeach()
  if(sources)
    add_library(${target} STATIC ${sources} ${headers})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC ${ARG_PUBLIC_LIBS})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} INTERFACE ${ARG_PUBLIC_LIBS})
  endif()
endfunction()

# marvanto_gtest(<target> LIBS <libs>...)
# One GoogleTest program for the test_*.cpp files of the current folder,
# registered with CTest test by test. Widget tests run on the offscreen platform.
function(marvanto_gtest target)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  # The shared main() starts the QApplication; a folder may still bring its own.
  if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/test_main.cpp)
    list(APPEND sources ${PROJECT_SOURCE_DIR}/tests/common/test_main.cpp)
  endif()
  add_executable(${target} ${sources})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common)
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock Qt6::Test)
  target_compile_definitions(${target} PRIVATE
    MARVANTO_STAGE_DIR="${MARVANTO_STAGE_DIR}"
    MARVANTO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    MARVANTO_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data")
  gtest_discover_tests(${target}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTWEBENGINE_DISABLE_SANDBOX=1"
    DISCOVERY_TIMEOUT 60)
endfunction()

# marvanto_add_subfolders([<relative folder>...])
# Adds every sub-folder that has a CMakeLists.txt, so that a new tool, test
# folder or benchmark needs no edit of the folder above it.
function(marvanto_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
