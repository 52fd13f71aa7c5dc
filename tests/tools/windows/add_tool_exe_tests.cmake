# Run by ctest: adds one test per case of the Linux build's qel-tool tests, each running that
# case with qel-tool.exe under Wine as the tool (QEL_TOOL_COMMAND) and the Wine prefix's
# dosdevices folder for the COM ports (QEL_TOOL_WINE_DOSDEVICES).

# The cases that do not hold for the Windows build, and why:
# - ReceiverSimLink.*: the simulator's own command line, not the tool's.
# - Ctrl+C: Wine turns the SIGINT the test sends into the end of the program (exit 130), not
#   into the console's Ctrl+C event that the tool answers on Windows.
set(excluded "ReceiverSimLink.*:DownloadFromReceiver.CtrlCCancelsAndWritesNothing")

if(NOT EXISTS "${QEL_TOOL_TESTS}")
    add_test(exe.linux-build-missing "${CMAKE_COMMAND}" -E false)
    set_tests_properties(exe.linux-build-missing PROPERTIES
        FAIL_REGULAR_EXPRESSION ".*" ENVIRONMENT "MISSING=${QEL_TOOL_TESTS}")
    return()
endif()

# The tests link COM ports in the prefix's dosdevices folder: Wine makes the prefix at its
# first start (streams to /dev/null: Wine's background programs keep them open).
set(prefix "$ENV{WINEPREFIX}")
if(prefix STREQUAL "")
    set(prefix "$ENV{HOME}/.wine")
endif()
if(NOT IS_DIRECTORY "${prefix}/dosdevices")
    separate_arguments(wine UNIX_COMMAND "${QEL_WINE}")
    execute_process(COMMAND sh -c "exec \"$@\" </dev/null >/dev/null 2>&1" sh ${wine} wineboot)
endif()

execute_process(COMMAND "${QEL_TOOL_TESTS}" --gtest_list_tests "--gtest_filter=-${excluded}"
                OUTPUT_VARIABLE listing RESULT_VARIABLE listed)
if(NOT listed EQUAL 0)
    add_test(exe.listing-failed "${CMAKE_COMMAND}" -E false)
    return()
endif()
string(REPLACE "\n" ";" lines "${listing}")
set(suite "")
foreach(line IN LISTS lines)
    string(REGEX REPLACE " *#.*" "" line "${line}")
    if(line MATCHES "^([^ ].*)\\.$")
        set(suite "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^  ([^ ]+)$" AND NOT suite STREQUAL "")
        set(name "${suite}.${CMAKE_MATCH_1}")
        add_test("exe.${name}" "${QEL_TOOL_TESTS}" "--gtest_filter=${name}")
        set(labels wine)
        if(suite MATCHES "Receiver$")
            list(APPEND labels slow)
        endif()
        set_tests_properties("exe.${name}" PROPERTIES LABELS "${labels}" ENVIRONMENT
            "QEL_TOOL_COMMAND=${QEL_WINE} ${QEL_TOOL_EXE};QEL_TOOL_WINE_DOSDEVICES=${prefix}/dosdevices;WINEPREFIX=${prefix}")
    endif()
endforeach()
