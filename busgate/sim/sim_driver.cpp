// A simulated NI-488.2 driver for the tests: boards and instruments at
// addresses, options per descriptor, per-thread status, asynchronous transfers
// completed on threads of its own, injectable failures and a call log.
//
// Built in flavours: SIM_STATUS_VARIABLES exports user_ibsta/user_iberr/
// user_ibcntl instead of the Ibsta/Iberr/Ibcnt functions; SIM_WITHOUT_IBCNT and
// SIM_WITHOUT_IBTRG leave out one export each.
#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ni488_abi.h"
#include "ni488_constants.h"

using namespace busgate::ni488;

#define SIM_ENTRY extern "C" NI488_DRIVER_EXPORT int NI488_CALL
#define SIM_ROUTINE extern "C" NI488_DRIVER_EXPORT void NI488_CALL
#define SIM_CONTROL extern "C" NI488_DRIVER_EXPORT

#if SIM_STATUS_VARIABLES
extern "C" {
NI488_DRIVER_EXPORT int user_ibsta = 0;
NI488_DRIVER_EXPORT int user_iberr = 0;
NI488_DRIVER_EXPORT long user_ibcntl = 0;
}
#define SIM_GLOBAL_STATUS user_ibsta
#define SIM_GLOBAL_ERROR user_iberr
#define SIM_GLOBAL_COUNT user_ibcntl
#else
namespace {
int globalStatus = 0;
int globalError = 0;
long globalCount = 0;
}  // namespace
#define SIM_GLOBAL_STATUS globalStatus
#define SIM_GLOBAL_ERROR globalError
#define SIM_GLOBAL_COUNT globalCount
#endif

namespace {

constexpr int kRequestServiceBit = 0x40;
constexpr int kFirstDeviceDescriptor = 16;

struct Instrument {
    std::vector<std::pair<std::string, std::string>> replies;
    std::string readData;
    std::size_t readPosition = 0;
    int serialPoll = 0;
};

struct Board {
    std::map<int, Instrument> instruments;
    int parallelPoll = 0;
    int lines = 0;
};

struct PendingTransfer {
    bool isRead = false;
    void* readBuffer = nullptr;
    const void* writeBuffer = nullptr;
    long count = 0;
    bool aborted = false;
};

struct Notification {
    int mask = 0;
    GpibNotifyCallback_t callback = nullptr;
    void* reference = nullptr;
};

struct Descriptor {
    int board = 0;
    int pad = 0;
    bool isBoard = false;
    std::map<int, int> options;
    std::optional<PendingTransfer> pending;
    Notification notification;
    bool callbackRunning = false;
    std::thread::id callbackThread;
};

// A read still pending when its descriptor went offline: the driver may
// finish it later, into the buffer it was handed.
struct ClosedRead {
    int board = 0;
    int pad = 0;
    void* buffer = nullptr;
    long count = 0;
};

struct Failure {
    std::string function;
    int ud;
    int iberr;
    int remaining;
};

struct Simulator {
    std::mutex mutex;
    std::condition_variable callbackDone;
    std::map<int, Board> boards;
    std::map<int, Descriptor> descriptors;
    int nextUd = kFirstDeviceDescriptor;
    std::vector<Failure> failures;
    std::vector<ClosedRead> closedReads;
    std::string log;
    bool asyncHold = false;
};

// Never destroyed: completion threads may still run while the process ends.
Simulator& sim() {
    static Simulator* simulator = new Simulator;
    return *simulator;
}

thread_local int threadStatus = 0;
thread_local int threadError = 0;
thread_local long threadCount = 0;

int finish(int status, int error, long count) {
    threadStatus = status;
    threadError = error;
    threadCount = count;
    SIM_GLOBAL_STATUS = status;
    SIM_GLOBAL_ERROR = error;
    SIM_GLOBAL_COUNT = count;
    return status;
}

int fail(int error) {
    return finish(ERR, error, 0);
}

std::string hexBytes(const void* data, long count) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (long i = 0; i < count; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    return text;
}

void logCall(const std::string& name, std::initializer_list<long> arguments,
             const std::string& tail = {}) {
    std::string line = name + "(";
    bool first = true;
    for (long argument : arguments) {
        if (!first) line += ",";
        line += std::to_string(argument);
        first = false;
    }
    if (!tail.empty()) line += (first ? "" : ",") + tail;
    sim().log += line + ")\n";
}

bool injectedFailure(const char* function, int ud, int& error) {
    for (Failure& failure : sim().failures) {
        if (failure.remaining == 0 || failure.function != function) continue;
        if (failure.ud != -1 && failure.ud != ud) continue;
        if (failure.remaining > 0) --failure.remaining;
        error = failure.iberr;
        return true;
    }
    return false;
}

Descriptor* findDescriptor(int ud) {
    const auto found = sim().descriptors.find(ud);
    return found == sim().descriptors.end() ? nullptr : &found->second;
}

Board* boardOf(const Descriptor& descriptor) {
    const auto found = sim().boards.find(descriptor.board);
    return found == sim().boards.end() ? nullptr : &found->second;
}

Instrument* instrumentOf(const Descriptor& descriptor) {
    Board* board = boardOf(descriptor);
    if (board == nullptr || descriptor.isBoard) return nullptr;
    const auto found = board->instruments.find(descriptor.pad);
    return found == board->instruments.end() ? nullptr : &found->second;
}

void applyEndOfString(Descriptor& descriptor, int value) {
    descriptor.options[IbcEOS] = value;
    descriptor.options[IbcEOSchar] = value & 0xFF;
    descriptor.options[IbcEOSrd] = (value & REOS) != 0 ? 1 : 0;
    descriptor.options[IbcEOSwrt] = (value & XEOS) != 0 ? 1 : 0;
    descriptor.options[IbcEOScmp] = (value & BIN) != 0 ? 1 : 0;
}

// Moves up to count bytes of the instrument's data; ended when the last one went.
long takeReadData(Instrument& instrument, void* buffer, long count, bool& ended) {
    const long available = static_cast<long>(instrument.readData.size() - instrument.readPosition);
    const long taken = std::max(0L, std::min(count, available));
    std::memcpy(buffer, instrument.readData.data() + instrument.readPosition,
                static_cast<std::size_t>(taken));
    instrument.readPosition += static_cast<std::size_t>(taken);
    ended = taken == available;
    return taken;
}

// Waits until no notification of this descriptor runs on another thread, so
// that the caller may give back what the notification uses.
void waitForCallback(std::unique_lock<std::mutex>& lock, int ud) {
    sim().callbackDone.wait(lock, [ud] {
        const Descriptor* descriptor = findDescriptor(ud);
        return descriptor == nullptr || !descriptor->callbackRunning ||
               descriptor->callbackThread == std::this_thread::get_id();
    });
}

void runCompletion(int ud);

void launchCompletionIfReady(Descriptor& descriptor, int ud) {
    if (!descriptor.pending || descriptor.notification.callback == nullptr ||
        (descriptor.notification.mask & CMPL) == 0) {
        return;
    }
    if (sim().asyncHold && !descriptor.pending->aborted) return;
    std::thread(runCompletion, ud).detach();
}

void runCompletion(int ud) {
    std::unique_lock<std::mutex> lock(sim().mutex);
    // The notification of the previous transfer may still be finishing.
    waitForCallback(lock, ud);
    Descriptor* descriptor = findDescriptor(ud);
    if (descriptor == nullptr || !descriptor->pending ||
        descriptor->notification.callback == nullptr) {
        return;
    }
    if (sim().asyncHold && !descriptor->pending->aborted) return;
    const PendingTransfer transfer = *descriptor->pending;
    descriptor->pending.reset();

    int status = CMPL;
    int error = 0;
    long count = 0;
    if (transfer.aborted) {
        status = ERR | CMPL;
        error = EABO;
    } else if (transfer.isRead) {
        bool ended = false;
        Instrument* instrument = instrumentOf(*descriptor);
        if (instrument != nullptr) {
            count = takeReadData(*instrument, transfer.readBuffer, transfer.count, ended);
        }
        if (ended) status |= END;
    } else {
        // The written bytes are read only now, as a driver does while it writes.
        logCall("ibwrta-done", {ud, transfer.count},
                hexBytes(transfer.writeBuffer, transfer.count));
        count = transfer.count;
    }
    // Disarmed while it runs; the callback's answer decides whether it re-arms.
    const Notification notification = descriptor->notification;
    descriptor->notification = {};
    descriptor->callbackRunning = true;
    descriptor->callbackThread = std::this_thread::get_id();
    lock.unlock();

    finish(status, error, count);
    const int rearmMask = notification.callback(ud, status, error, count, notification.reference);

    lock.lock();
    descriptor = findDescriptor(ud);
    if (descriptor != nullptr) {
        descriptor->callbackRunning = false;
        if (rearmMask != 0 && descriptor->notification.callback == nullptr) {
            descriptor->notification = {rearmMask, notification.callback, notification.reference};
        }
    }
    sim().callbackDone.notify_all();
}

// The common shape of a call that only needs a live descriptor.
int plainCall(const char* name, int ud, std::initializer_list<long> arguments,
              bool needsInstrument = false) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    logCall(name, arguments);
    int error = 0;
    if (injectedFailure(name, ud, error)) return fail(error);
    const Descriptor* descriptor = findDescriptor(ud);
    if (descriptor == nullptr) return fail(EDVR);
    if (needsInstrument && instrumentOf(*descriptor) == nullptr) return fail(ENOL);
    return finish(CMPL, 0, 0);
}

int startTransfer(const char* name, int ud, const PendingTransfer& transfer) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    logCall(name, {ud, transfer.count});
    int error = 0;
    if (injectedFailure(name, ud, error)) return fail(error);
    Descriptor* descriptor = findDescriptor(ud);
    if (descriptor == nullptr) return fail(EDVR);
    if (instrumentOf(*descriptor) == nullptr) return fail(ENOL);
    if (descriptor->pending) return fail(EOIP);
    descriptor->pending = transfer;
    launchCompletionIfReady(*descriptor, ud);
    return finish(0, 0, 0);
}

void routine(const char* name, int board) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    logCall(name, {board});
    finish(CMPL, 0, 0);
}

}  // namespace

// --- status -----------------------------------------------------------------

SIM_ENTRY ThreadIbsta() {
    return threadStatus;
}
SIM_ENTRY ThreadIberr() {
    return threadError;
}
SIM_ENTRY ThreadIbcnt() {
    return static_cast<int>(threadCount);
}

#if !SIM_STATUS_VARIABLES
SIM_ENTRY Ibsta() {
    return globalStatus;
}
SIM_ENTRY Iberr() {
    return globalError;
}
#if !SIM_WITHOUT_IBCNT
SIM_ENTRY Ibcnt() {
    return static_cast<int>(globalCount);
}
#endif
#endif

// --- descriptors and configuration -------------------------------------------

SIM_ENTRY ibdev(int board, int pad, int sad, int tmo, int eot, int eos) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    logCall("ibdev", {board, pad, sad, tmo, eot, eos});
    int error = 0;
    if (injectedFailure("ibdev", -1, error)) {
        fail(error);
        return -1;
    }
    if (sim().boards.count(board) == 0) {
        fail(ENEB);
        return -1;
    }
    const int ud = sim().nextUd++;
    Descriptor& descriptor = sim().descriptors[ud];
    descriptor.board = board;
    descriptor.pad = pad;
    descriptor.options[IbcPAD] = pad;
    descriptor.options[IbcSAD] = sad;
    descriptor.options[IbcTMO] = tmo;
    descriptor.options[IbcEOT] = eot;
    applyEndOfString(descriptor, eos);
    finish(CMPL, 0, 0);
    return ud;
}

SIM_ENTRY ibfindA(const char* name) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    logCall("ibfindA", {}, name);
    int board = -1;
    if (std::sscanf(name, "gpib%d", &board) != 1 || sim().boards.count(board) == 0) {
        fail(EDVR);
        return -1;
    }
    Descriptor& descriptor = sim().descriptors[board];
    descriptor.board = board;
    descriptor.isBoard = true;
    int error = 0;
    // A board that opens with an error still hands out its descriptor.
    if (injectedFailure("ibfindA", board, error)) {
        fail(error);
    } else {
        finish(CMPL, 0, 0);
    }
    return board;
}

SIM_ENTRY ibfindW(const wchar_t* name) {
    std::string narrow;
    for (; *name != 0; ++name) narrow += static_cast<char>(*name);
    return ibfindA(narrow.c_str());
}

SIM_ENTRY ibconfig(int ud, int option, int value) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    logCall("ibconfig", {ud, option, value});
    int error = 0;
    if (injectedFailure("ibconfig", ud, error)) return fail(error);
    Descriptor* descriptor = findDescriptor(ud);
    if (descriptor == nullptr) return fail(EDVR);
    if (option == IbcEOS) {
        applyEndOfString(*descriptor, value);
    } else {
        descriptor->options[option] = value;
    }
    return finish(CMPL, 0, 0);
}

SIM_ENTRY ibeos(int ud, int value) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    logCall("ibeos", {ud, value});
    int error = 0;
    if (injectedFailure("ibeos", ud, error)) return fail(error);
    Descriptor* descriptor = findDescriptor(ud);
    if (descriptor == nullptr) return fail(EDVR);
    applyEndOfString(*descriptor, value);
    return finish(CMPL, 0, 0);
}

SIM_ENTRY ibask(int ud, int option, int* value) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    logCall("ibask", {ud, option});
    int error = 0;
    if (injectedFailure("ibask", ud, error)) return fail(error);
    Descriptor* descriptor = findDescriptor(ud);
    if (descriptor == nullptr) return fail(EDVR);
    *value = descriptor->options[option];
    return finish(CMPL, 0, 0);
}

SIM_ENTRY ibonl(int ud, int online) {
    std::unique_lock<std::mutex> lock(sim().mutex);
    logCall("ibonl", {ud, online});
    int error = 0;
    if (injectedFailure("ibonl", ud, error)) return fail(error);
    Descriptor* descriptor = findDescriptor(ud);
    if (descriptor == nullptr) return fail(EDVR);
    if (online == 0) {
        descriptor->notification = {};
        waitForCallback(lock, ud);
        descriptor = findDescriptor(ud);
        if (descriptor != nullptr && descriptor->pending && descriptor->pending->isRead &&
            !descriptor->pending->aborted) {
            sim().closedReads.push_back({descriptor->board, descriptor->pad,
                                         descriptor->pending->readBuffer,
                                         descriptor->pending->count});
        }
        sim().descriptors.erase(ud);
    }
    return finish(CMPL, 0, 0);
}

SIM_ENTRY ibln(int ud, int pad, int sad, short* listen) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    logCall("ibln", {ud, pad, sad});
    Descriptor* descriptor = findDescriptor(ud);
    if (descriptor == nullptr) return fail(EDVR);
    const Board* board = boardOf(*descriptor);
    *listen = board != nullptr && board->instruments.count(pad) != 0 ? 1 : 0;
    int error = 0;
    // The answer is still given when the call reports an error.
    if (injectedFailure("ibln", ud, error)) return fail(error);
    return finish(CMPL, 0, 0);
}

// --- plain operations --------------------------------------------------------

SIM_ENTRY ibsic(int ud) {
    return plainCall("ibsic", ud, {ud});
}
SIM_ENTRY ibloc(int ud) {
    return plainCall("ibloc", ud, {ud});
}
SIM_ENTRY ibclr(int ud) {
    return plainCall("ibclr", ud, {ud}, true);
}
#if !SIM_WITHOUT_IBTRG
SIM_ENTRY ibtrg(int ud) {
    return plainCall("ibtrg", ud, {ud}, true);
}
#endif
SIM_ENTRY ibpct(int ud) {
    return plainCall("ibpct", ud, {ud}, true);
}
SIM_ENTRY ibcac(int ud, int value) {
    return plainCall("ibcac", ud, {ud, value});
}
SIM_ENTRY ibgts(int ud, int value) {
    return plainCall("ibgts", ud, {ud, value});
}
SIM_ENTRY ibppc(int ud, int value) {
    return plainCall("ibppc", ud, {ud, value});
}
SIM_ENTRY iblck(int ud, int value, unsigned int, void*) {
    return plainCall("iblck", ud, {ud, value});
}
SIM_ENTRY ibcmd(int ud, const void*, long count) {
    return plainCall("ibcmd", ud, {ud, count});
}
SIM_ENTRY ibcmda(int ud, const void*, long count) {
    return plainCall("ibcmda", ud, {ud, count});
}
SIM_ENTRY ibrdfA(int ud, const char*) {
    return plainCall("ibrdfA", ud, {ud});
}
SIM_ENTRY ibrdfW(int ud, const wchar_t*) {
    return plainCall("ibrdfW", ud, {ud});
}
SIM_ENTRY ibwrtfA(int ud, const char*) {
    return plainCall("ibwrtfA", ud, {ud});
}
SIM_ENTRY ibwrtfW(int ud, const wchar_t*) {
    return plainCall("ibwrtfW", ud, {ud});
}
SIM_ENTRY ibexpert(int ud, int option, void*, void*) {
    plainCall("ibexpert", ud, {ud, option});
    return 0;
}

// --- data transfer -----------------------------------------------------------

SIM_ENTRY ibwrt(int ud, const void* buffer, long count) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    logCall("ibwrt", {ud, count}, hexBytes(buffer, count));
    int error = 0;
    if (injectedFailure("ibwrt", ud, error)) return fail(error);
    Descriptor* descriptor = findDescriptor(ud);
    if (descriptor == nullptr) return fail(EDVR);
    Instrument* instrument = instrumentOf(*descriptor);
    if (instrument == nullptr) return fail(ENOL);
    if (!instrument->replies.empty()) {
        const std::string written(static_cast<const char*>(buffer),
                                  static_cast<std::size_t>(count));
        const auto reply = std::find_if(instrument->replies.begin(), instrument->replies.end(),
                                        [&](const auto& entry) { return entry.first == written; });
        if (reply == instrument->replies.end()) return fail(EABO);
        instrument->readData = reply->second;
        instrument->readPosition = 0;
    }
    return finish(CMPL, 0, count);
}

SIM_ENTRY ibrd(int ud, void* buffer, long count) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    logCall("ibrd", {ud, count});
    int error = 0;
    if (injectedFailure("ibrd", ud, error)) return fail(error);
    Descriptor* descriptor = findDescriptor(ud);
    if (descriptor == nullptr) return fail(EDVR);
    Instrument* instrument = instrumentOf(*descriptor);
    if (instrument == nullptr) return fail(ENOL);
    if (instrument->readPosition >= instrument->readData.size()) return fail(EABO);
    bool ended = false;
    const long taken = takeReadData(*instrument, buffer, count, ended);
    // Only a read that met the end of the message reports completion.
    return finish(ended ? (END | CMPL) : 0, 0, taken);
}

SIM_ENTRY ibrda(int ud, void* buffer, long count) {
    PendingTransfer transfer;
    transfer.isRead = true;
    transfer.readBuffer = buffer;
    transfer.count = count;
    return startTransfer("ibrda", ud, transfer);
}

SIM_ENTRY ibwrta(int ud, const void* buffer, long count) {
    PendingTransfer transfer;
    transfer.writeBuffer = buffer;
    transfer.count = count;
    return startTransfer("ibwrta", ud, transfer);
}

SIM_ENTRY ibnotify(int ud, int mask, GpibNotifyCallback_t callback, void* reference) {
    std::unique_lock<std::mutex> lock(sim().mutex);
    logCall("ibnotify", {ud, mask});
    int error = 0;
    if (injectedFailure("ibnotify", ud, error)) return fail(error);
    Descriptor* descriptor = findDescriptor(ud);
    if (descriptor == nullptr) return fail(EDVR);
    if (mask == 0) {
        descriptor->notification = {};
        waitForCallback(lock, ud);
    } else {
        descriptor->notification = {mask, callback, reference};
        launchCompletionIfReady(*descriptor, ud);
    }
    return finish(CMPL, 0, 0);
}

SIM_ENTRY ibstop(int ud) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    logCall("ibstop", {ud});
    int error = 0;
    if (injectedFailure("ibstop", ud, error)) return fail(error);
    Descriptor* descriptor = findDescriptor(ud);
    if (descriptor == nullptr) return fail(EDVR);
    if (!descriptor->pending) return finish(CMPL, 0, 0);
    if (descriptor->notification.callback != nullptr) {
        descriptor->pending->aborted = true;
        launchCompletionIfReady(*descriptor, ud);
    } else {
        descriptor->pending.reset();
    }
    return fail(EABO);
}

// --- polls and lines ---------------------------------------------------------

SIM_ENTRY ibwait(int ud, int mask) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    logCall("ibwait", {ud, mask});
    int error = 0;
    if (injectedFailure("ibwait", ud, error)) return fail(error);
    Descriptor* descriptor = findDescriptor(ud);
    if (descriptor == nullptr) return fail(EDVR);
    const Instrument* instrument = instrumentOf(*descriptor);
    const bool requesting =
        instrument != nullptr && (instrument->serialPoll & kRequestServiceBit) != 0;
    return finish(CMPL | (requesting ? RQS : TIMO), 0, 0);
}

SIM_ENTRY ibrsp(int ud, char* pollByte) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    logCall("ibrsp", {ud});
    int error = 0;
    if (injectedFailure("ibrsp", ud, error)) return fail(error);
    Descriptor* descriptor = findDescriptor(ud);
    if (descriptor == nullptr) return fail(EDVR);
    const Instrument* instrument = instrumentOf(*descriptor);
    if (instrument == nullptr) return fail(ENOL);
    *pollByte = static_cast<char>(instrument->serialPoll);
    return finish(CMPL, 0, 1);
}

SIM_ENTRY ibrpp(int ud, char* pollByte) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    logCall("ibrpp", {ud});
    int error = 0;
    if (injectedFailure("ibrpp", ud, error)) return fail(error);
    Descriptor* descriptor = findDescriptor(ud);
    if (descriptor == nullptr) return fail(EDVR);
    const Board* board = boardOf(*descriptor);
    if (board == nullptr) return fail(ENEB);
    *pollByte = static_cast<char>(board->parallelPoll);
    return finish(CMPL, 0, 1);
}

SIM_ENTRY iblines(int ud, short* lines) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    logCall("iblines", {ud});
    int error = 0;
    if (injectedFailure("iblines", ud, error)) return fail(error);
    Descriptor* descriptor = findDescriptor(ud);
    if (descriptor == nullptr) return fail(EDVR);
    const Board* board = boardOf(*descriptor);
    if (board == nullptr) return fail(ENEB);
    *lines = static_cast<short>(board->lines);
    return finish(CMPL, 0, 0);
}

// --- multi-device routines ---------------------------------------------------

SIM_ROUTINE AllSpoll(int board, const Addr4882_t*, short*) {
    routine("AllSpoll", board);
}
SIM_ROUTINE DevClear(int board, Addr4882_t) {
    routine("DevClear", board);
}
SIM_ROUTINE DevClearList(int board, const Addr4882_t*) {
    routine("DevClearList", board);
}
SIM_ROUTINE EnableLocal(int board, const Addr4882_t*) {
    routine("EnableLocal", board);
}
SIM_ROUTINE EnableRemote(int board, const Addr4882_t*) {
    routine("EnableRemote", board);
}
SIM_ROUTINE FindLstn(int board, const Addr4882_t*, Addr4882_t*, int) {
    routine("FindLstn", board);
}
SIM_ROUTINE FindRQS(int board, const Addr4882_t*, short*) {
    routine("FindRQS", board);
}
SIM_ROUTINE PPoll(int board, short*) {
    routine("PPoll", board);
}
SIM_ROUTINE PPollConfig(int board, Addr4882_t, int, int) {
    routine("PPollConfig", board);
}
SIM_ROUTINE PPollUnconfig(int board, const Addr4882_t*) {
    routine("PPollUnconfig", board);
}
SIM_ROUTINE PassControl(int board, Addr4882_t) {
    routine("PassControl", board);
}
SIM_ROUTINE RcvRespMsg(int board, void*, long, int) {
    routine("RcvRespMsg", board);
}
SIM_ROUTINE ReadStatusByte(int board, Addr4882_t, short*) {
    routine("ReadStatusByte", board);
}
SIM_ROUTINE Receive(int board, Addr4882_t, void*, long, int) {
    routine("Receive", board);
}
SIM_ROUTINE ReceiveSetup(int board, Addr4882_t) {
    routine("ReceiveSetup", board);
}
SIM_ROUTINE ResetSys(int board, const Addr4882_t*) {
    routine("ResetSys", board);
}
SIM_ROUTINE Send(int board, Addr4882_t, const void*, long, int) {
    routine("Send", board);
}
SIM_ROUTINE SendCmds(int board, const void*, long) {
    routine("SendCmds", board);
}
SIM_ROUTINE SendDataBytes(int board, const void*, long, int) {
    routine("SendDataBytes", board);
}
SIM_ROUTINE SendIFC(int board) {
    routine("SendIFC", board);
}
SIM_ROUTINE SendLLO(int board) {
    routine("SendLLO", board);
}
SIM_ROUTINE SendList(int board, const Addr4882_t*, const void*, long, int) {
    routine("SendList", board);
}
SIM_ROUTINE SendSetup(int board, const Addr4882_t*) {
    routine("SendSetup", board);
}
SIM_ROUTINE SetRWLS(int board, const Addr4882_t*) {
    routine("SetRWLS", board);
}
SIM_ROUTINE TestSRQ(int board, short*) {
    routine("TestSRQ", board);
}
SIM_ROUTINE TestSys(int board, const Addr4882_t*, short*) {
    routine("TestSys", board);
}
SIM_ROUTINE Trigger(int board, Addr4882_t) {
    routine("Trigger", board);
}
SIM_ROUTINE TriggerList(int board, const Addr4882_t*) {
    routine("TriggerList", board);
}
SIM_ROUTINE WaitSRQ(int board, short*) {
    routine("WaitSRQ", board);
}

// --- control for the tests ---------------------------------------------------

SIM_CONTROL void sim_reset(void) {
    std::unique_lock<std::mutex> lock(sim().mutex);
    sim().callbackDone.wait(lock, [] {
        return std::none_of(sim().descriptors.begin(), sim().descriptors.end(),
                            [](const auto& entry) { return entry.second.callbackRunning; });
    });
    sim().boards.clear();
    sim().descriptors.clear();
    sim().failures.clear();
    sim().closedReads.clear();
    sim().log.clear();
    sim().asyncHold = false;
    sim().nextUd = kFirstDeviceDescriptor;
}

SIM_CONTROL void sim_add_board(int board) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    sim().boards[board];
}

SIM_CONTROL void sim_add_instrument(int board, int pad) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    sim().boards[board].instruments[pad];
}

SIM_CONTROL void sim_script_reply(int board, int pad, const char* command, int commandLength,
                                  const char* reply, int replyLength) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    sim().boards[board].instruments[pad].replies.emplace_back(
        std::string(command, static_cast<std::size_t>(commandLength)),
        std::string(reply, static_cast<std::size_t>(replyLength)));
}

SIM_CONTROL void sim_set_read_data(int board, int pad, const char* data, int length) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    Instrument& instrument = sim().boards[board].instruments[pad];
    instrument.readData.assign(data, static_cast<std::size_t>(length));
    instrument.readPosition = 0;
}

SIM_CONTROL void sim_set_serial_poll(int board, int pad, int value) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    sim().boards[board].instruments[pad].serialPoll = value;
}

SIM_CONTROL void sim_set_parallel_poll(int board, int value) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    sim().boards[board].parallelPoll = value;
}

SIM_CONTROL void sim_set_lines(int board, int lines) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    sim().boards[board].lines = lines;
}

SIM_CONTROL void sim_inject_failure(const char* function, int ud, int iberr, int times) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    sim().failures.push_back({function, ud, iberr, times});
}

SIM_CONTROL void sim_set_async_hold(int hold) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    sim().asyncHold = hold != 0;
    if (hold != 0) return;
    for (auto& entry : sim().descriptors) launchCompletionIfReady(entry.second, entry.first);
}

SIM_CONTROL int sim_finish_closed_reads(void) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    long written = 0;
    for (const ClosedRead& read : sim().closedReads) {
        const auto board = sim().boards.find(read.board);
        if (board == sim().boards.end()) continue;
        const auto instrument = board->second.instruments.find(read.pad);
        if (instrument == board->second.instruments.end()) continue;
        bool ended = false;
        written += takeReadData(instrument->second, read.buffer, read.count, ended);
    }
    sim().closedReads.clear();
    return static_cast<int>(written);
}

SIM_CONTROL int sim_call_log(char* buffer, int size) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    const int length = static_cast<int>(sim().log.size());
    if (buffer != nullptr && size > 0) {
        const int copied = std::min(length, size - 1);
        std::memcpy(buffer, sim().log.data(), static_cast<std::size_t>(copied));
        buffer[copied] = '\0';
    }
    return length;
}

SIM_CONTROL void sim_clear_log(void) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    sim().log.clear();
}

SIM_CONTROL int sim_option(int ud, int option) {
    std::lock_guard<std::mutex> lock(sim().mutex);
    Descriptor* descriptor = findDescriptor(ud);
    if (descriptor == nullptr) return -1;
    return descriptor->options[option];
}
