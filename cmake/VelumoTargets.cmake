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
  # SHARDS: into how many parts the program's tests are split (default 1).
  cmake_parse_arguments(ARG "OWN_MAIN" "SHARDS" "DEPENDS;ENVIRONMENT" ${ARGN})
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
  # Linked at a fixed address: a position-independent test program of this size spends most
  # of its start in the loader's millions of relocations.
  target_link_options(${target} PRIVATE -no-pie)
  # The folder's environment is set by the test program itself before main(), so that a run
  # by hand (one test with --gtest_filter) gets it as well as a run through CTest.
  if(ARG_ENVIRONMENT)
    string(REPLACE ";" "|" environment "${ARG_ENVIRONMENT}")
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests/helpers/test_environment.cpp)
    target_compile_definitions(${target} PRIVATE VELUMO_TEST_ENVIRONMENT="${environment}")
  endif()
  # Each test program runs whole, in one process: starting a sanitized program costs about a
  # second, more than most single tests take. A large program is split into SHARDS parts by
  # GoogleTest's own sharding so that the parts spread over the cores; COST starts the long
  # ones first. A test that hangs ends its part at the timeout, named in the output.
  if(NOT ARG_SHARDS)
    set(ARG_SHARDS 1)
  endif()
  math(EXPR last "${ARG_SHARDS} - 1")
  foreach(index RANGE ${last})
    set(name ${target})
    if(ARG_SHARDS GREATER 1)
      set(name ${target}.${index})
    endif()
    add_test(NAME ${name} COMMAND ${target})
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "VELUMO_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR}/data;GTEST_TOTAL_SHARDS=${ARG_SHARDS};GTEST_SHARD_INDEX=${index}"
      TIMEOUT 1200
      COST ${ARG_SHARDS})
  endforeach()
endfunction()
