# One static library per subsystem folder, made of every source file in that folder
# (SUBFOLDERS: and in the folders below it).
# Headers are included by folder: #include "system/log.h".
function(velumo_subsystem_library name)
  cmake_parse_arguments(ARG "SUBFOLDERS" "" "DEPENDS" ${ARGN})
  if(ARG_SUBFOLDERS)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  if(NOT sources)
    # A folder whose first code has not landed yet.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
endfunction()

# One GoogleTest executable per tests/<folder>, made of every test source in it.
function(velumo_test_folder folder)
  # OWN_MAIN: the folder has its own main() (a toolkit application object must outlive the
  # tests and go before the toolkit's own static clean-up).
  # ENVIRONMENT: extra NAME=value settings for every test of the folder.
  cmake_parse_arguments(ARG "OWN_MAIN" "" "DEPENDS;ENVIRONMENT" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  set(target test_${folder})
  add_executable(${target} ${sources})
  if(ARG_OWN_MAIN)
    target_link_libraries(${target} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gmock)
  else()
    target_link_libraries(${target} PRIVATE ${ARG_DEPENDS} GTest::gtest_main GTest::gmock)
  endif()
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  # The folder's environment is set by the test program itself before main(): the properties
  # of discovered tests pass through a script that splits a list of settings into separate
  # arguments, so an ENVIRONMENT list there would keep only its first entry.
  if(ARG_ENVIRONMENT)
    string(REPLACE ";" "|" environment "${ARG_ENVIRONMENT}")
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests/helpers/test_environment.cpp)
    target_compile_definitions(${target} PRIVATE VELUMO_TEST_ENVIRONMENT="${environment}")
  endif()
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "VELUMO_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR}/data")
endfunction()
