# Project-wide compile settings and the helpers every folder uses.

add_library(mirvane_options INTERFACE)
target_compile_options(mirvane_options INTERFACE -Wall -Wextra -Wpedantic)
if(MIRVANE_WERROR)
    target_compile_options(mirvane_options INTERFACE -Werror)
endif()
if(MIRVANE_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# mirvane_library(NAME DEPS ...): a static library of every .cpp in the calling folder.
function(mirvane_library name)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(NOT sources)
        add_library(${name} INTERFACE)  # a folder not yet written
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${name} INTERFACE mirvane_options ${ARG_DEPS})
        return()
    endif()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC mirvane_options ${ARG_DEPS})
endfunction()

# mirvane_tests([DEPS ...]): one GoogleTest program per *_test.cpp in the calling
# folder, linked against the whole core and DEPS, each case registered with ctest.
function(mirvane_tests)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
    foreach(test_source ${tests})
        get_filename_component(stem ${test_source} NAME_WE)
        set(target test_${stem})
        string(REPLACE "_test" "" target ${target})
        add_executable(${target} ${test_source})
        target_link_libraries(${target} PRIVATE mirvane_core ${ARG_DEPS} mirvane_testing GTest::gtest_main
                                                GTest::gmock)
        set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
        gtest_discover_tests(${target}
            WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
            DISCOVERY_TIMEOUT 60)
    endforeach()
endfunction()

if(MIRVANE_FUZZ)
    # Coverage instrumentation for everything the fuzz targets link.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
