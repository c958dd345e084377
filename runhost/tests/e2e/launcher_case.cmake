# One end-to-end run of the built launcher: copies it under a chosen name into
# a fresh folder, puts the archive beside it or appends it, puts the runtime
# stand-in beside it, on the search path or nowhere, runs it (under the
# emulator for Windows builds) and compares exit code, both output streams and
# the stand-in's call log with what the case expects.
#
# -DCASE -DLAUNCHER -DCONSOLE_LAUNCHER -DARCHIVE_TOOL -DFAKE_RUNTIME -DEMULATOR
# -DTARGET_WINDOWS -DWORK_ROOT
cmake_minimum_required(VERSION 3.25)

file(MAKE_DIRECTORY ${WORK_ROOT})
get_filename_component(WORK_ROOT ${WORK_ROOT} REALPATH)
set(work ${WORK_ROOT}/${CASE})
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work}/app ${work}/rt)

if(TARGET_WINDOWS)
    set(exe_suffix ".exe")
    set(runtime_folder runtime/win32)
    set(lib_prefix "")
    set(lib_suffix ".dll")
    set(SEP "\\")
    # Windows builds run under the emulator, which has no console to attach
    # to: runs that report errors use the console-only launcher, whose
    # message boxes are marked lines.
    set(BOX "[message box] ")
else()
    set(exe_suffix "")
    set(runtime_folder runtime/linux)
    set(lib_prefix "lib")
    set(lib_suffix ".so")
    set(SEP "/")
    set(BOX "")
endif()

# The path as the launcher sees it: the emulator shows host paths on drive Z:.
function(native_path out path)
    if(TARGET_WINDOWS)
        string(REPLACE "/" "\\" path "Z:${path}")
    endif()
    set(${out} "${path}" PARENT_SCOPE)
endfunction()

# Case settings, defaults first.
set(exe_name "tool${exe_suffix}")
set(archive_name "tool.pkf")
set(archive_place beside)     # beside | appended | none
set(runtime_place beside)     # beside | path | nowhere
set(updater 2)
set(verbose OFF)
set(use_console_launcher OFF)
set(archive_keys start=Hello complete=Done component=comp-text list=a,b main=main-text)
set(fake_env "")
set(expected_exit 0)
set(EXPECTED_OUT "")
set(EXPECTED_ERR "")
set(EXPECTED_CALLS "")
set(check_calls ON)

set(DUMP [=[PKF_DataBlock:
Data block size = 8192 bytes
version str=V1NCC4000NXC1000NRT1000
NRT Major Version:7
NRT Minor Version:@MINOR@
NRT Updater Version:@UPDATER@
UUID:3f2a9c4e-0d1b-4c55-9e77-1a2b3c4d5e6f
Start message:Hello
Complete message:Done
]=])
set(MINOR 14)
set(NOT_FOUND [=[@BOX@Error:Could not find version 7.14.2 of the NRT.
Attempting to load @LIB@.
Please install the correct version of the NRT.
Contact your vendor if you do not have an installer for the NRT.
]=])
set(STANDALONE_CALLS [=[nrlnrtInitialize_proxy()
getInitOptionsFromPkfFile_proxy(archive=@PKF@)
nrlInitializeApplication_proxy(count=2,options=given)
nrlFreeStrArray_proxy(count=2,options=given)
nrlRunMain_proxy(argc=3,args=one|two words)
nrlInitializeComponentInstanceNonEmbeddedStandalone_proxy(exeDir=@DIR@,component=comp-text,reserved=0)
nrlGetID_proxy(instance=fake)
nrlSetCmdLineUserData_proxy(id=4242,argc=3,args=one|two words)
nrlWrite_proxy(stream=1,text=Done)
nrlWrite_proxy(stream=1,text=\n)
nrlMain_proxy(instance=fake,userData=77,args=one|two words,mainText=main-text,mainFlag=3)
nrlTerminateInstance_proxy(instance=fake)
nrlTerminateApplication_proxy()
]=])

if(CASE STREQUAL "standalone_beside_verbose")
    set(verbose ON)
    list(APPEND fake_env FAKE_NRT_MAIN_RESULT=42 "FAKE_NRT_PRINT=app output" "FAKE_NRT_ERROR=app error")
    set(expected_exit 42)
    set(EXPECTED_OUT [=[Status:Executable file full name=@EXE@
Status:PKF is embedded=false
Status:PKF file name=@PKF@
@DUMP@build library name=@LIB@
1. search @RUNTIME_DIR@@SEP@@LIB@
Find @LIB@ in @RUNTIME_DIR@
Initializing Numora Compiler Runtime version 7.14.2
Starting Up:Hello
Status:nrlInitializeApplication completed
Done
app output]=])
    set(EXPECTED_ERR "app error\n")
    string(REPLACE "nrlTerminateInstance_proxy" [=[nrlWrite_proxy(stream=1,text=app output)
nrlWrite_proxy(stream=2,text=app error)
nrlWrite_proxy(stream=2,text=\n)
handlers answered 20
nrlTerminateInstance_proxy]=] EXPECTED_CALLS "${STANDALONE_CALLS}")
elseif(CASE STREQUAL "embedded_on_search_path_verbose")
    set(archive_place appended)
    set(runtime_place path)
    set(verbose ON)
    set(EXPECTED_OUT [=[Status:Executable file full name=@EXE@
@DUMP@Status:PKF is embedded=true
Status:PKF file name=@EXE@
@DUMP@build library name=@LIB@
1. search @RUNTIME_DIR@@SEP@@LIB@
2. search @SEARCH_LIST@
Found @LIB@ in @RT@
Initializing Numora Compiler Runtime version 7.14.2
Starting Up:Hello
Status:nrlInitializeApplication completed
Done
]=])
    set(EXPECTED_CALLS [=[nrlnrtInitialize_proxy()
getInitOptionsFromPkfFile_proxy(archive=@EXE@)
nrlInitializeApplication_proxy(count=2,options=given)
nrlFreeStrArray_proxy(count=2,options=given)
nrlRunMain_proxy(argc=3,args=one|two words)
nrlGetEmbeddedPkfStream_proxy(handle=null,value=305419896)
nrlInitializeComponentInstanceEmbedded_proxy(stream=given,value=305419896)
nrlDestroyStream_proxy(stream=given)
nrlGetID_proxy(instance=fake)
nrlSetCmdLineUserData_proxy(id=4242,argc=3,args=one|two words)
nrlWrite_proxy(stream=1,text=Done)
nrlWrite_proxy(stream=1,text=\n)
nrlMain_proxy(instance=fake,userData=77,args=one|two words,mainText=main-text,mainFlag=3)
nrlTerminateInstance_proxy(instance=fake)
nrlTerminateApplication_proxy()
]=])
elseif(CASE STREQUAL "versioned_name_quiet")
    set(exe_name "tool.v2${exe_suffix}")
    if(TARGET_WINDOWS)
        set(archive_name "tool.v2.pkf")
    endif()
    set(archive_keys complete=Done component=comp-text list=a,b main=main-text)
    list(APPEND fake_env FAKE_NRT_MAIN_RESULT=7)
    set(expected_exit 7)
    set(EXPECTED_OUT "Done\n")
    set(EXPECTED_CALLS "${STANDALONE_CALLS}")
elseif(CASE STREQUAL "name_without_point")
    set(exe_name "app")
    set(archive_name "app.pkf")
    set(EXPECTED_OUT "Initializing Numora Compiler Runtime version 7.14.2\nStarting Up:Hello\nDone\n")
    set(EXPECTED_CALLS "${STANDALONE_CALLS}")
elseif(CASE STREQUAL "missing_archive")
    set(archive_place none)
    set(verbose ON)
    set(use_console_launcher ON)
    set(expected_exit 255)
    set(EXPECTED_OUT "Status:Executable file full name=@EXE@\nStatus:PKF is embedded=false\n")
    set(EXPECTED_ERR "Error:Cannot find PKF archive @PKF@\nError:Error initializing PKF Archive.\n")
elseif(CASE STREQUAL "minor_version_13")
    set(verbose ON)
    set(use_console_launcher ON)
    list(APPEND archive_keys minor=13)
    set(MINOR 13)
    set(expected_exit 255)
    set(EXPECTED_OUT [=[Status:Executable file full name=@EXE@
Status:PKF is embedded=false
Status:PKF file name=@PKF@
@DUMP@]=])
    set(EXPECTED_ERR "Error:Your application is not a valid Numora compiled application.\n")
elseif(CASE STREQUAL "runtime_nowhere_verbose")
    set(runtime_place nowhere)
    set(verbose ON)
    set(use_console_launcher ON)
    set(expected_exit 255)
    if(TARGET_WINDOWS)
        set(STEP2 "2. search @SEARCH_LIST@\n")
    else()
        set(STEP2 "")  # no library search list in the environment
    endif()
    set(EXPECTED_OUT [=[Status:Executable file full name=@EXE@
Status:PKF is embedded=false
Status:PKF file name=@PKF@
@DUMP@build library name=@LIB@
1. search @RUNTIME_DIR@@SEP@@LIB@
@STEP2@3. Try to find @LIB@ in registry and preference settings
]=])
    set(EXPECTED_ERR "${NOT_FOUND}")
elseif(CASE STREQUAL "runtime_nowhere_quiet")
    set(runtime_place nowhere)
    set(use_console_launcher ON)
    set(expected_exit 255)
    set(EXPECTED_ERR "${NOT_FOUND}")
elseif(CASE STREQUAL "updater_zero")
    set(updater 0)
    list(APPEND archive_keys updater=0)
    set(verbose ON)
    set(EXPECTED_OUT [=[Status:Executable file full name=@EXE@
Status:PKF is embedded=false
Status:PKF file name=@PKF@
@DUMP@build library name=@LIB@
1. search @RUNTIME_DIR@@SEP@@LIB@
Find @LIB@ in @RUNTIME_DIR@
Initializing Numora Compiler Runtime version 7.14.2
Starting Up:Hello
Status:nrlInitializeApplication completed
Done
]=])
    set(EXPECTED_CALLS "${STANDALONE_CALLS}")
elseif(CASE STREQUAL "application_init_fails")
    set(use_console_launcher ON)
    list(APPEND fake_env FAKE_NRT_FAIL=nrlInitializeApplication_proxy "FAKE_NRT_LAST_ERROR=options rejected")
    set(expected_exit 255)
    set(EXPECTED_OUT "Initializing Numora Compiler Runtime version 7.14.2\nStarting Up:Hello\n")
    set(EXPECTED_ERR "Error:Application initialization failed.\nError:options rejected\n")
    set(EXPECTED_CALLS [=[nrlnrtInitialize_proxy()
getInitOptionsFromPkfFile_proxy(archive=@PKF@)
nrlInitializeApplication_proxy(count=2,options=given)
nrlFreeStrArray_proxy(count=2,options=given)
nrlGetLastErrorMessage_proxy()
]=])
elseif(CASE STREQUAL "command_line_refused")
    set(use_console_launcher ON)
    set(runtime_place path)
    list(APPEND fake_env FAKE_NRT_FAIL=nrlSetCmdLineUserData_proxy "FAKE_NRT_LAST_ERROR=bad command line")
    set(expected_exit 255)
    set(EXPECTED_OUT "Initializing Numora Compiler Runtime version 7.14.2\nStarting Up:Hello\n")
    set(EXPECTED_ERR "Error:bad command line\n")
    set(EXPECTED_CALLS [=[nrlnrtInitialize_proxy()
getInitOptionsFromPkfFile_proxy(archive=@PKF@)
nrlInitializeApplication_proxy(count=2,options=given)
nrlFreeStrArray_proxy(count=2,options=given)
nrlRunMain_proxy(argc=3,args=one|two words)
nrlInitializeComponentInstanceNonEmbeddedStandalone_proxy(exeDir=@DIR@,component=comp-text,reserved=0)
nrlGetID_proxy(instance=fake)
nrlSetCmdLineUserData_proxy(id=4242,argc=3,args=one|two words)
nrlGetLastErrorMessage_proxy()
nrlTerminateInstance_proxy(instance=fake)
nrlTerminateApplication_proxy()
]=])
elseif(CASE STREQUAL "instance_fails_embedded")
    set(use_console_launcher ON)
    set(archive_place appended)
    list(APPEND fake_env FAKE_NRT_FAIL=nrlInitializeComponentInstanceEmbedded_proxy "FAKE_NRT_LAST_ERROR=no stream")
    set(expected_exit 255)
    set(EXPECTED_OUT "Initializing Numora Compiler Runtime version 7.14.2\nStarting Up:Hello\n")
    set(EXPECTED_ERR "Error:Initialize component instance failed.\nError:no stream\n")
    set(EXPECTED_CALLS [=[nrlnrtInitialize_proxy()
getInitOptionsFromPkfFile_proxy(archive=@EXE@)
nrlInitializeApplication_proxy(count=2,options=given)
nrlFreeStrArray_proxy(count=2,options=given)
nrlRunMain_proxy(argc=3,args=one|two words)
nrlGetEmbeddedPkfStream_proxy(handle=null,value=305419896)
nrlInitializeComponentInstanceEmbedded_proxy(stream=given,value=305419896)
nrlDestroyStream_proxy(stream=given)
nrlGetLastErrorMessage_proxy()
]=])
else()
    message(FATAL_ERROR "unknown case ${CASE}")
endif()

# Tools of the build run under the emulator when there is one.
function(run_program out_rc out_stdout out_stderr)
    execute_process(COMMAND ${EMULATOR} ${ARGN}
        WORKING_DIRECTORY ${work}
        RESULT_VARIABLE rc OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr
        TIMEOUT 60)
    # Text written by a Windows program ends its lines with "\r\n".
    string(REPLACE "\r\n" "\n" stdout "${stdout}")
    string(REPLACE "\r\n" "\n" stderr "${stderr}")
    set(${out_rc} "${rc}" PARENT_SCOPE)
    set(${out_stdout} "${stdout}" PARENT_SCOPE)
    set(${out_stderr} "${stderr}" PARENT_SCOPE)
endfunction()

# The folder.
if(use_console_launcher AND TARGET_WINDOWS)
    set(launcher ${CONSOLE_LAUNCHER})
else()
    set(launcher ${LAUNCHER})
endif()
set(exe ${work}/app/${exe_name})
set(lib "${lib_prefix}nrlnrtrt7_14")
if(NOT updater STREQUAL "0")
    string(APPEND lib "_${updater}")
endif()
string(APPEND lib "${lib_suffix}")

if(archive_place STREQUAL "appended")
    run_program(rc out err ${ARCHIVE_TOOL} ${exe} program=${launcher} ${archive_keys})
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "archive tool failed (${rc}): ${err}")
    endif()
else()
    file(COPY_FILE ${launcher} ${exe})
    if(archive_place STREQUAL "beside")
        run_program(rc out err ${ARCHIVE_TOOL} ${work}/app/${archive_name} ${archive_keys})
        if(NOT rc EQUAL 0)
            message(FATAL_ERROR "archive tool failed (${rc}): ${err}")
        endif()
    endif()
endif()
file(CHMOD ${exe} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

if(runtime_place STREQUAL "beside")
    file(MAKE_DIRECTORY ${work}/app/${runtime_folder})
    file(COPY_FILE ${FAKE_RUNTIME} ${work}/app/${runtime_folder}/${lib})
elseif(runtime_place STREQUAL "path")
    file(COPY_FILE ${FAKE_RUNTIME} ${work}/rt/${lib})
endif()

# The environment of the run.
native_path(EXE ${exe})
native_path(DIR ${work}/app)
native_path(PKF ${work}/app/${archive_name})
native_path(RT ${work}/rt)
native_path(RUNTIME_DIR ${work}/app/${runtime_folder})
set(LIB ${lib})
set(UPDATER ${updater})
unset(ENV{PKFX_VERBOSE})
unset(ENV{LD_LIBRARY_PATH})
unset(ENV{WINEPATH})
if(verbose)
    set(ENV{PKFX_VERBOSE} "1")
endif()
if(runtime_place STREQUAL "path")
    if(TARGET_WINDOWS)
        set(ENV{WINEPATH} "${RT}")
    else()
        set(ENV{LD_LIBRARY_PATH} "/nonexistent:${RT}")
    endif()
endif()
set(log ${work}/calls.log)
set(ENV{FAKE_NRT_LOG} ${log})
foreach(setting IN LISTS fake_env)
    string(FIND "${setting}" "=" equals)
    string(SUBSTRING "${setting}" 0 ${equals} name)
    math(EXPR value_start "${equals} + 1")
    string(SUBSTRING "${setting}" ${value_start} -1 value)
    set(ENV{${name}} "${value}")
endforeach()

run_program(rc stdout stderr ${exe} one "two words")

# The library search list is the emulator's own plus ours: check ours is in
# it, then compare the rest of the line as a placeholder.
string(REGEX MATCH "2\\. search ([^\n]*)" search_line "${stdout}")
if(search_line)
    set(search_list "${CMAKE_MATCH_1}")
    if(runtime_place STREQUAL "path")
        string(FIND "${search_list}" "${RT}" at)
        if(at EQUAL -1)
            message(SEND_ERROR "search list '${search_list}' lacks ${RT}")
        endif()
    endif()
    string(REPLACE "${search_list}" "@SEARCH_LIST@" stdout "${stdout}")
endif()
set(SEARCH_LIST "@SEARCH_LIST@")

string(CONFIGURE "${DUMP}" DUMP @ONLY)
string(CONFIGURE "${EXPECTED_OUT}" expected_out @ONLY)
string(CONFIGURE "${EXPECTED_ERR}" expected_err @ONLY)
string(CONFIGURE "${EXPECTED_CALLS}" expected_calls @ONLY)

set(failed OFF)
function(expect_equal what actual expected)
    if(NOT "${actual}" STREQUAL "${expected}")
        string(MAKE_C_IDENTIFIER "${what}" stem)
        file(WRITE ${work}/${stem}.expected "${expected}")
        file(WRITE ${work}/${stem}.actual "${actual}")
        execute_process(COMMAND diff -u ${work}/${stem}.expected ${work}/${stem}.actual
            OUTPUT_VARIABLE difference)
        message(SEND_ERROR "${what} differs (expected '${expected}', got '${actual}'):\n${difference}")
    endif()
endfunction()

expect_equal("exit code" "${rc}" "${expected_exit}")
expect_equal("standard output" "${stdout}" "${expected_out}")
expect_equal("standard error" "${stderr}" "${expected_err}")
set(calls "")
if(EXISTS ${log})
    file(READ ${log} calls)
endif()
expect_equal("runtime calls" "${calls}" "${expected_calls}")
