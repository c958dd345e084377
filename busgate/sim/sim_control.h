// Control functions of the simulated NI-488.2 driver: the tests script boards
// and instruments, inject failures and read the call log through them. They
// are bound at run time from the same file the binding layer loads, so both
// talk to one instance of the driver.
#pragma once

#include "dynamic_library.h"

extern "C" {
typedef void (*SimResetFunction)(void);
typedef void (*SimAddBoardFunction)(int board);
typedef void (*SimAddInstrumentFunction)(int board, int pad);
// After a write of exactly command, the next read answers reply. An instrument
// with scripted commands refuses any other write (EABO).
typedef void (*SimScriptReplyFunction)(int board, int pad, const char* command, int commandLength,
                                       const char* reply, int replyLength);
// Bytes that reads take in order; the read that takes the last one ends with END.
typedef void (*SimSetReadDataFunction)(int board, int pad, const char* data, int length);
typedef void (*SimSetSerialPollFunction)(int board, int pad, int value);
typedef void (*SimSetParallelPollFunction)(int board, int value);
typedef void (*SimSetLinesFunction)(int board, int lines);
// ud -1 matches every descriptor; times -1 fails for ever.
typedef void (*SimInjectFailureFunction)(const char* function, int ud, int iberr, int times);
// While held, started asynchronous transfers do not complete until stopped.
typedef void (*SimSetAsyncHoldFunction)(int hold);
// Finishes the reads that were still pending when their descriptor went
// offline, as a driver that writes after the session was closed; returns the
// bytes written.
typedef int (*SimFinishClosedReadsFunction)(void);
// Copies the log (one call a line) into buffer; returns its full length.
typedef int (*SimCallLogFunction)(char* buffer, int size);
typedef void (*SimClearLogFunction)(void);
typedef int (*SimOptionFunction)(int ud, int option);
}

namespace busgate::sim {

struct SimControl {
    SimResetFunction reset = nullptr;
    SimAddBoardFunction addBoard = nullptr;
    SimAddInstrumentFunction addInstrument = nullptr;
    SimScriptReplyFunction scriptReply = nullptr;
    SimSetReadDataFunction setReadData = nullptr;
    SimSetSerialPollFunction setSerialPoll = nullptr;
    SimSetParallelPollFunction setParallelPoll = nullptr;
    SimSetLinesFunction setLines = nullptr;
    SimInjectFailureFunction injectFailure = nullptr;
    SimSetAsyncHoldFunction setAsyncHold = nullptr;
    SimFinishClosedReadsFunction finishClosedReads = nullptr;
    SimCallLogFunction callLog = nullptr;
    SimClearLogFunction clearLog = nullptr;
    SimOptionFunction option = nullptr;
};

template <typename Function>
bool bindControl(platform::LibraryHandle library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(platform::findSymbol(library, name));
    return function != nullptr;
}

inline bool bindSimControl(platform::LibraryHandle library, SimControl& control) {
    return bindControl(library, "sim_reset", control.reset) &&
           bindControl(library, "sim_add_board", control.addBoard) &&
           bindControl(library, "sim_add_instrument", control.addInstrument) &&
           bindControl(library, "sim_script_reply", control.scriptReply) &&
           bindControl(library, "sim_set_read_data", control.setReadData) &&
           bindControl(library, "sim_set_serial_poll", control.setSerialPoll) &&
           bindControl(library, "sim_set_parallel_poll", control.setParallelPoll) &&
           bindControl(library, "sim_set_lines", control.setLines) &&
           bindControl(library, "sim_inject_failure", control.injectFailure) &&
           bindControl(library, "sim_set_async_hold", control.setAsyncHold) &&
           bindControl(library, "sim_finish_closed_reads", control.finishClosedReads) &&
           bindControl(library, "sim_call_log", control.callLog) &&
           bindControl(library, "sim_clear_log", control.clearLog) &&
           bindControl(library, "sim_option", control.option);
}

}  // namespace busgate::sim
