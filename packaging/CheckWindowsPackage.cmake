# Makes the Windows ZIP package into a private folder, checks its layout, unpacks it and runs
# its tollen-cli.exe under Wine: a search of the demo database beside it, found by the program
# itself and named as a file: host, gives the rows the Linux build's program gives.
#
#   cmake -DCPACK=... -DCPACK_CONFIG=.../CPackConfig.cmake -DPACKAGE=Tollen-<version>-win64
#         -DWINE_RUN=cmake/wine-run -DWINE_PREFIX=... -DLINUX_CLI=... -DDEMO_DB=...
#         -P CheckWindowsPackage.cmake

cmake_minimum_required(VERSION 3.25)

if(NOT EXISTS ${LINUX_CLI} OR NOT IS_DIRECTORY ${DEMO_DB}/DIRSTRUCT)
    # The package needs the demo database a Linux build makes, and the rows are compared with
    # that build's program.
    message("SKIP: no Linux build's tollen-cli (${LINUX_CLI}) or demo database (${DEMO_DB})")
    return()
endif()

execute_process(COMMAND mktemp -d OUTPUT_VARIABLE work OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "cannot make a temporary folder")
endif()

# Removes the private folder, then fails with `text`.
function(fail text)
    file(REMOVE_RECURSE ${work})
    message(FATAL_ERROR "${text}")
endfunction()

execute_process(COMMAND ${CPACK} -G ZIP --config ${CPACK_CONFIG} -B ${work}/out
                RESULT_VARIABLE failed OUTPUT_VARIABLE output ERROR_VARIABLE output)
set(zip ${work}/out/${PACKAGE}.zip)
if(failed OR NOT EXISTS ${zip})
    fail("cpack made no ${PACKAGE}.zip:\n${output}")
endif()

# One folder, the programs and the README at its top, the demo database beside them.
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${zip} OUTPUT_VARIABLE listing)
string(REPLACE "\n" ";" entries "${listing}")
list(FILTER entries EXCLUDE REGEX "^$")
foreach(entry ${entries})
    if(NOT entry MATCHES "^${PACKAGE}/")
        fail("${entry} is outside the package's folder ${PACKAGE}")
    endif()
endforeach()
foreach(expected tollen.exe tollen-cli.exe README.txt demo-db/DIRSTRUCT/)
    list(FIND entries ${PACKAGE}/${expected} found)
    if(found LESS 0)
        fail("the package has no ${PACKAGE}/${expected}:\n${listing}")
    endif()
endforeach()
if(listing MATCHES "\\.tollen-index")
    fail("the package holds the indexer's own files:\n${listing}")
endif()

file(MAKE_DIRECTORY ${work}/unpacked)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${zip} WORKING_DIRECTORY ${work}/unpacked
                RESULT_VARIABLE failed)
if(failed)
    fail("cannot unpack ${zip}")
endif()
set(folder ${work}/unpacked/${PACKAGE})

set(query search "PCI\\VEN_1AF4&DEV_1041" --format tsv)
execute_process(COMMAND ${LINUX_CLI} ${query} --http file://${DEMO_DB}
                WORKING_DIRECTORY ${work} RESULT_VARIABLE failed OUTPUT_VARIABLE expected)
if(failed OR NOT expected MATCHES "VEN_1AF4")
    fail("the Linux program found no rows (${failed}):\n${expected}")
endif()

# The program's own demo database (no settings file, no host given), then the same as a file:
# host on Wine's drive Z:, which shows the Linux file system.
foreach(host "" "file:///Z:${folder}/demo-db")
    set(command ${WINE_RUN} ${WINE_PREFIX} ${folder}/tollen-cli.exe ${query})
    if(host)
        list(APPEND command --http ${host})
    endif()
    execute_process(COMMAND ${command} WORKING_DIRECTORY ${work} RESULT_VARIABLE failed
                    OUTPUT_VARIABLE rows ERROR_VARIABLE errors)
    string(REPLACE "\r" "" rows "${rows}")
    if(failed OR NOT rows STREQUAL expected)
        fail("tollen-cli.exe from the package (host \"${host}\") exited with ${failed}:\n"
             "${rows}${errors}\nexpected the Linux build's rows:\n${expected}")
    endif()
endforeach()
file(REMOVE_RECURSE ${work})
