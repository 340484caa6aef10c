# One GoogleTest executable per folder of tests/, each test labelled with the folder's name so
# that `ctest -L registry` runs one layer.
#
#   tollen_add_tests(<folder> SOURCES ... LIBRARIES ... [OWN_MAIN] [DISPLAY])
#
# OWN_MAIN leaves main() to the sources (Qt tests choose their platform before the application
# object exists). DISPLAY runs a Windows test program, as one test, in a second prefix whose
# wineserver has an Xvfb display, for programs that open windows. Every test gets
# TOLLEN_SOURCE_DIR and TOLLEN_BINARY_DIR as compile definitions and runs in the build folder.
#
# Test programs built for Windows run under Wine (CMAKE_CROSSCOMPILING_EMULATOR): a first test
# starts a wineserver that stays between programs, a last one stops it.
if(CMAKE_CROSSCOMPILING_EMULATOR)
    add_test(NAME wine_start COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --start)
    add_test(NAME wine_stop COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --stop)
    set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine)
    set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine)
    set(TOLLEN_TEST_FIXTURES FIXTURES_REQUIRED wine)

    set(TOLLEN_DISPLAY_EMULATOR
        ${PROJECT_SOURCE_DIR}/cmake/wine-run ${CMAKE_BINARY_DIR}/wine-prefix-display)
    add_test(NAME wine_display_start COMMAND ${TOLLEN_DISPLAY_EMULATOR} --start-display)
    add_test(NAME wine_display_stop COMMAND ${TOLLEN_DISPLAY_EMULATOR} --stop)
    set_tests_properties(wine_display_start PROPERTIES FIXTURES_SETUP wine_display)
    set_tests_properties(wine_display_stop PROPERTIES FIXTURES_CLEANUP wine_display)
endif()

function(tollen_add_tests folder)
    cmake_parse_arguments(ARG "OWN_MAIN;DISPLAY" "" "SOURCES;LIBRARIES" ${ARGN})
    set(target tollen_${folder}_tests)
    add_executable(${target} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES} tollen_options GTest::gtest GTest::gmock)
    if(NOT ARG_OWN_MAIN)
        target_link_libraries(${target} PRIVATE GTest::gtest_main)
    endif()
    if(TOLLEN_SANITIZE)
        # Test code, heavy with GoogleTest's templates, compiles fastest unoptimised; the code
        # under test keeps its -O1.
        target_compile_options(${target} PRIVATE -O0)
    endif()
    target_compile_definitions(${target} PRIVATE
        TOLLEN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        TOLLEN_BINARY_DIR="${PROJECT_BINARY_DIR}")
    set(fixtures ${TOLLEN_TEST_FIXTURES})
    if(ARG_DISPLAY AND TOLLEN_DISPLAY_EMULATOR)
        # Under Wine each program with windows takes a second or two to start, several times
        # what its tests take: the program runs as one test, its output naming a case that fails.
        set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR "${TOLLEN_DISPLAY_EMULATOR}")
        add_test(NAME ${target} COMMAND ${target} WORKING_DIRECTORY ${PROJECT_BINARY_DIR})
        set_tests_properties(${target} PROPERTIES
            LABELS ${folder} FIXTURES_REQUIRED wine_display TIMEOUT 600)
        return()
    endif()
    gtest_discover_tests(${target}
        WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
        PROPERTIES LABELS ${folder} ${fixtures}
        DISCOVERY_TIMEOUT 120
        # Cases of parameterised tests carry the names their generators give, without the
        # bytes of the parameter after them.
        NO_PRETTY_VALUES)
endfunction()
