# Runs the built quenmap once in a fresh folder and checks what a user sees:
# exit status, standard output and error, the log, the written file.
#
# -DQUENMAP=<exe> [-DEMULATOR=<wine>] -DWORK=<folder> -DARGS=<a|b|...>
# -DINPUTS=<source=name|...> (copied into WORK) -DSTATUS=<n>
# [-DLOG=<expected log file> | -DLOG_EMPTY=1] [-DNO_LOG=1]
# [-DOUTPUT=<name in WORK>] [-DEXPECT_BINARY=<file>] [-DEXPECT_TEXT=<file>] [-DOUTPUT_EMPTY=1]
# [-DSTDOUT_CONTAINS=<file>] [-DSTDERR=<expected stderr file>]
# Text written by the Windows build ends its lines with CR LF; text
# comparisons drop the CR, binary comparisons are exact.

cmake_policy(SET CMP0057 NEW)
string(REPLACE "|" ";" ARGS "${ARGS}")
string(REPLACE "|" ";" INPUTS "${INPUTS}")

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
foreach(input IN LISTS INPUTS)
    string(REPLACE "=" ";" parts "${input}")
    list(GET parts 0 source)
    list(GET parts 1 target)
    file(COPY_FILE "${source}" "${WORK}/${target}")
endforeach()

execute_process(
    COMMAND ${EMULATOR} ${QUENMAP} ${ARGS}
    WORKING_DIRECTORY "${WORK}"
    INPUT_FILE /dev/null
    RESULT_VARIABLE status
    OUTPUT_VARIABLE stdout
    ERROR_VARIABLE stderr
    TIMEOUT 120)

set(failures "")
macro(fail message)
    string(APPEND failures "${message}\n")
endmacro()

function(read_text path out)
    file(READ "${path}" content)
    string(REPLACE "\r\n" "\n" content "${content}")
    set(${out} "${content}" PARENT_SCOPE)
endfunction()

string(REPLACE "\r\n" "\n" stdout "${stdout}")
string(REPLACE "\r\n" "\n" stderr "${stderr}")

if(NOT "${status}" STREQUAL "${STATUS}")
    fail("exit status ${status}, expected ${STATUS}\n--- standard output\n${stdout}--- standard error\n${stderr}")
endif()

if(DEFINED LOG)
    read_text("${LOG}" expected)
    if(NOT EXISTS "${WORK}/run.log")
        fail("no log written")
    else()
        read_text("${WORK}/run.log" actual)
        if(NOT actual STREQUAL expected)
            fail("log differs:\n--- actual\n${actual}--- expected\n${expected}")
        endif()
    endif()
endif()
if(LOG_EMPTY)
    file(SIZE "${WORK}/run.log" size)
    if(NOT size EQUAL 0)
        file(READ "${WORK}/run.log" actual)
        fail("log not empty:\n${actual}")
    endif()
endif()
if(NO_LOG AND EXISTS "${WORK}/run.log")
    fail("a log was created")
endif()

if(DEFINED EXPECT_BINARY)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/${OUTPUT}" "${EXPECT_BINARY}"
                    RESULT_VARIABLE different)
    if(different)
        fail("${OUTPUT} differs from ${EXPECT_BINARY}")
    endif()
endif()
if(DEFINED EXPECT_TEXT)
    read_text("${WORK}/${OUTPUT}" actual)
    read_text("${EXPECT_TEXT}" expected)
    if(NOT actual STREQUAL expected)
        fail("${OUTPUT} differs:\n--- actual\n${actual}--- expected\n${expected}")
    endif()
endif()
if(OUTPUT_EMPTY)
    file(SIZE "${WORK}/${OUTPUT}" size)
    if(NOT size EQUAL 0)
        fail("${OUTPUT} is not empty")
    endif()
endif()

if(DEFINED STDOUT_CONTAINS)
    read_text("${STDOUT_CONTAINS}" expected)
    string(FIND "${stdout}" "${expected}" at)
    if(at EQUAL -1)
        fail("standard output lacks the expected text:\n--- actual\n${stdout}--- expected\n${expected}")
    endif()
endif()
if(DEFINED STDERR)
    read_text("${STDERR}" expected)
    if(NOT stderr STREQUAL expected)
        fail("standard error differs:\n--- actual\n${stderr}--- expected\n${expected}")
    endif()
endif()

if(failures)
    message(FATAL_ERROR "quenmap ${ARGS}:\n${failures}")
endif()
