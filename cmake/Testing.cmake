# GoogleTest for every target and one helper that registers a test program.
#
# Each program writes its results as XML into RVX_RESULTS_DIR under the name
# of its test; scripts/test adds them up.

set(RVX_RESULTS_DIR ${CMAKE_BINARY_DIR}/results)
file(MAKE_DIRECTORY ${RVX_RESULTS_DIR})

if(WIN32)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    set(RVX_GTEST_LIBS gtest gtest_main)
else()
    find_package(GTest REQUIRED)
    set(RVX_GTEST_LIBS GTest::gtest GTest::gtest_main)
endif()

# rvx_add_gtest(NAME SOURCES src... [LIBS lib...])
function(rvx_add_gtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${RVX_GTEST_LIBS})
    if(WIN32)
        target_link_options(${name} PRIVATE -static)
    endif()
    # Under wine the Unix root is drive Z:.
    set(results ${RVX_RESULTS_DIR})
    if(WIN32)
        set(results Z:${RVX_RESULTS_DIR})
    endif()
    add_test(NAME ${name}
             COMMAND ${name} --gtest_output=xml:${results}/${name}.xml
             WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
