// Asynchronous reads and writes: the driver fills or drains the memory while
// Java goes on, and reports completion on a thread of its own, which attaches
// to the VM for the two queueAction calls.
#include "async_transfers.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <list>
#include <mutex>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "thread_status.h"

using namespace busgate;

namespace {

// One started transfer. Its id, not its address, travels through the driver
// as the notification's reference data, so a late or repeated notification can
// never touch a transfer that is gone.
struct Transfer {
    std::uintptr_t id = 0;
    int ud = 0;
    bool isRead = false;
    jobject target = nullptr;        // global reference
    jbyteArray heldArray = nullptr;  // global reference, writes only
    jbyte* heldElements = nullptr;   // what the driver is writing from
};

std::atomic<JavaVM*> javaVm{nullptr};

std::mutex transfersMutex;
std::vector<Transfer> activeTransfers;
std::uintptr_t nextTransferId = 1;
// The one read buffer of the process; readableBytes is how much of it a read
// may have filled (the largest count asked for since it was made).
std::vector<jbyte> readBuffer;
std::size_t readableBytes = 0;

// Buffers of reads whose session was closed while the driver still held
// them: nothing tells when such a read is over, so the driver may write into
// them at any later time. They are kept for the process, never freed nor
// handed to another read. Never destroyed, as a driver thread may still write
// while the process ends.
std::list<std::vector<jbyte>>& abandonedReadBuffers() {
    static auto* buffers = new std::list<std::vector<jbyte>>;
    return *buffers;
}

bool readUnderWayLocked() {
    return std::any_of(activeTransfers.begin(), activeTransfers.end(),
                       [](const Transfer& transfer) { return transfer.isRead; });
}

std::optional<Transfer> takeTransfer(std::uintptr_t id) {
    std::lock_guard<std::mutex> lock(transfersMutex);
    const auto found = std::find_if(activeTransfers.begin(), activeTransfers.end(),
                                    [id](const Transfer& transfer) { return transfer.id == id; });
    if (found == activeTransfers.end()) return std::nullopt;
    Transfer transfer = *found;
    activeTransfers.erase(found);
    return transfer;
}

void releaseTransfer(JNIEnv* env, const Transfer& transfer) {
    if (transfer.heldElements != nullptr) {
        // Nothing was changed in the elements; no copy back.
        env->ReleaseByteArrayElements(transfer.heldArray, transfer.heldElements, JNI_ABORT);
    }
    if (transfer.heldArray != nullptr) env->DeleteGlobalRef(transfer.heldArray);
    if (transfer.target != nullptr) env->DeleteGlobalRef(transfer.target);
}

void clearPendingException(JNIEnv* env) {
    // No exception may stay pending on a thread that is not Java's own.
    if (env->ExceptionCheck()) env->ExceptionClear();
}

void callQueueAction(JNIEnv* env, jobject target, jint notEnded, jint count) {
    if (env->PushLocalFrame(8) != JNI_OK) {
        clearPendingException(env);
        return;
    }
    jclass targetClass = env->GetObjectClass(target);
    const jmethodID queueAction = env->GetMethodID(targetClass, "queueAction", "(I)V");
    if (queueAction == nullptr) {
        clearPendingException(env);
    } else {
        env->CallVoidMethod(target, queueAction, notEnded);
        clearPendingException(env);
        env->CallVoidMethod(target, queueAction, count);
        clearPendingException(env);
    }
    env->PopLocalFrame(nullptr);
}

int NI488_CALL notifyCompletion(int, int status, int, long count, void* reference) {
    const std::optional<Transfer> transfer =
        takeTransfer(reinterpret_cast<std::uintptr_t>(reference));
    JavaVM* vm = javaVm.load();
    if (!transfer || vm == nullptr) return 0;

    JNIEnv* env = nullptr;
    bool attachedHere = false;
    if (vm->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_6) == JNI_EDETACHED) {
        if (vm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr) != JNI_OK) return 0;
        attachedHere = true;
    }
    callQueueAction(env, transfer->target, (status & ni488::END) != 0 ? 0 : 1,
                    static_cast<jint>(count));
    releaseTransfer(env, *transfer);
    if (attachedHere) vm->DetachCurrentThread();
    // 0: do not re-arm; every started transfer gets exactly one notification.
    return 0;
}

// Arms the completion notification of a started transfer (registering it, or
// completing the place a read holds). On failure the
// transfer is stopped, so that nothing goes on touching its memory, and given
// back.
jint armNotification(JNIEnv* env, const Transfer& transfer) {
    {
        std::lock_guard<std::mutex> lock(transfersMutex);
        const auto found =
            std::find_if(activeTransfers.begin(), activeTransfers.end(),
                         [&](const Transfer& active) { return active.id == transfer.id; });
        if (found != activeTransfers.end()) {
            *found = transfer;
        } else {
            activeTransfers.push_back(transfer);
        }
    }
    driver().ibnotify(transfer.ud, ni488::CMPL, notifyCompletion,
                      reinterpret_cast<void*>(transfer.id));
    if (!threadFailed()) return 1;
    const jint error = negatedThreadError();
    if (const std::optional<Transfer> unarmed = takeTransfer(transfer.id)) {
        driver().ibstop(unarmed->ud);
        releaseTransfer(env, *unarmed);
    }
    return error;
}

}  // namespace

namespace busgate {

void rememberJavaVm(JNIEnv* env) {
    JavaVM* vm = nullptr;
    if (env->GetJavaVM(&vm) == JNI_OK) javaVm.store(vm);
}

void releaseSessionTransfers(JNIEnv* env, int ud) {
    std::vector<Transfer> released;
    {
        std::lock_guard<std::mutex> lock(transfersMutex);
        const auto firstOfSession =
            std::stable_partition(activeTransfers.begin(), activeTransfers.end(),
                                  [ud](const Transfer& transfer) { return transfer.ud != ud; });
        released.assign(firstOfSession, activeTransfers.end());
        activeTransfers.erase(firstOfSession, activeTransfers.end());
        const bool closedRead =
            std::any_of(released.begin(), released.end(),
                        [](const Transfer& transfer) { return transfer.isRead; });
        if (closedRead) {
            // Moving the vector keeps its storage where the driver writes.
            abandonedReadBuffers().push_back(std::move(readBuffer));
            readBuffer.clear();
            readableBytes = 0;
        } else if (!readUnderWayLocked()) {
            // A read of another session may still be filling the buffer.
            std::vector<jbyte>().swap(readBuffer);
            readableBytes = 0;
        }
    }
    for (const Transfer& transfer : released) releaseTransfer(env, transfer);
}

}  // namespace busgate

extern "C" {

JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_GpibNI_ReadBinaryByteAsync(
    JNIEnv* env, jobject, jobject target, jint ud, jint count) {
    if (count < 0) return negated(ni488::EARG);
    rememberJavaVm(env);
    Transfer transfer;
    jbyte* buffer = nullptr;
    {
        std::lock_guard<std::mutex> lock(transfersMutex);
        // The driver may still be filling the buffer; it must not move.
        if (readUnderWayLocked()) return negated(ni488::EOIP);
        const std::size_t needed = static_cast<std::size_t>(count) + 1;
        if (readBuffer.size() < needed) {
            try {
                readBuffer.resize(needed);
            } catch (const std::bad_alloc&) {
                return negated(ni488::EARG);
            }
        }
        readableBytes = std::max(readableBytes, static_cast<std::size_t>(count));
        buffer = readBuffer.data();
        transfer.id = nextTransferId++;
        transfer.ud = ud;
        transfer.isRead = true;
        // Holding the place keeps a second read out while this one starts.
        activeTransfers.push_back(transfer);
    }
    driver().ibrda(ud, buffer, count);
    if (threadFailed()) {
        const jint error = negatedThreadError();
        takeTransfer(transfer.id);
        return error;
    }
    transfer.target = env->NewGlobalRef(target);
    return armNotification(env, transfer);
}

JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_GpibNI_WriteBinaryByteAsync(
    JNIEnv* env, jobject, jobject target, jint ud, jbyteArray data, jint) {
    rememberJavaVm(env);
    Transfer transfer;
    {
        std::lock_guard<std::mutex> lock(transfersMutex);
        transfer.id = nextTransferId++;
    }
    transfer.ud = ud;
    const jsize length = data != nullptr ? env->GetArrayLength(data) : 0;
    if (data != nullptr) {
        transfer.heldArray = static_cast<jbyteArray>(env->NewGlobalRef(data));
        transfer.heldElements = env->GetByteArrayElements(transfer.heldArray, nullptr);
    }
    driver().ibwrta(ud, transfer.heldElements, length);
    if (threadFailed()) {
        const jint error = negatedThreadError();
        releaseTransfer(env, transfer);
        return error;
    }
    transfer.target = env->NewGlobalRef(target);
    return armNotification(env, transfer);
}

JNIEXPORT jbyteArray JNICALL
Java_com_orvane_toolbox_instrument_GpibNI_GetAsyncReadData(JNIEnv* env, jobject, jint, jint count) {
    std::vector<jbyte> copy;
    {
        std::lock_guard<std::mutex> lock(transfersMutex);
        const std::size_t wanted = count > 0 ? static_cast<std::size_t>(count) : 0;
        copy.assign(readBuffer.begin(), readBuffer.begin() + static_cast<std::ptrdiff_t>(
                                                                 std::min(wanted, readableBytes)));
    }
    const auto length = static_cast<jsize>(copy.size());
    jbyteArray result = env->NewByteArray(length);
    if (result != nullptr && length > 0) env->SetByteArrayRegion(result, 0, length, copy.data());
    return result;
}

JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_GpibNI_StopAsync(JNIEnv*, jobject,
                                                                           jint ud) {
    driver().ibstop(ud);
    if (!threadFailed()) return 1;
    const int error = driver().ThreadIberr();
    // Stopping a transfer under way is what was asked for.
    return error == ni488::EABO ? 1 : negated(error);
}

}  // extern "C"
