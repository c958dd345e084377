// Lets the Java test program script the simulated driver: the natives of the
// test class com.orvane.toolbox.instrument.SimDriver.
#include <jni.h>

#include <string>
#include <vector>

#include "dynamic_library.h"
#include "sim_control.h"

namespace {
busgate::sim::SimControl control;

std::string bytesOf(JNIEnv* env, jbyteArray array) {
    const jsize length = env->GetArrayLength(array);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    env->GetByteArrayRegion(array, 0, length, reinterpret_cast<jbyte*>(&bytes[0]));
    return bytes;
}
}  // namespace

extern "C" {

JNIEXPORT jboolean JNICALL Java_com_orvane_toolbox_instrument_SimDriver_attach(JNIEnv* env, jclass,
                                                                               jstring path) {
    const char* chars = env->GetStringUTFChars(path, nullptr);
    // Loading the file the adaptor finds gives the same instance of the driver.
    busgate::platform::LibraryHandle library = busgate::platform::loadLibrary(chars);
    env->ReleaseStringUTFChars(path, chars);
    return library != nullptr && busgate::sim::bindSimControl(library, control) ? JNI_TRUE
                                                                                : JNI_FALSE;
}

JNIEXPORT void JNICALL Java_com_orvane_toolbox_instrument_SimDriver_reset(JNIEnv*, jclass) {
    control.reset();
}

JNIEXPORT void JNICALL Java_com_orvane_toolbox_instrument_SimDriver_addBoard(JNIEnv*, jclass,
                                                                             jint board) {
    control.addBoard(board);
}

JNIEXPORT void JNICALL Java_com_orvane_toolbox_instrument_SimDriver_addInstrument(JNIEnv*, jclass,
                                                                                  jint board,
                                                                                  jint pad) {
    control.addInstrument(board, pad);
}

JNIEXPORT void JNICALL Java_com_orvane_toolbox_instrument_SimDriver_scriptReply(
    JNIEnv* env, jclass, jint board, jint pad, jbyteArray command, jbyteArray reply) {
    const std::string commandBytes = bytesOf(env, command);
    const std::string replyBytes = bytesOf(env, reply);
    control.scriptReply(board, pad, commandBytes.data(), static_cast<int>(commandBytes.size()),
                        replyBytes.data(), static_cast<int>(replyBytes.size()));
}

JNIEXPORT void JNICALL Java_com_orvane_toolbox_instrument_SimDriver_setReadData(JNIEnv* env, jclass,
                                                                                jint board,
                                                                                jint pad,
                                                                                jbyteArray data) {
    const std::string bytes = bytesOf(env, data);
    control.setReadData(board, pad, bytes.data(), static_cast<int>(bytes.size()));
}

JNIEXPORT void JNICALL Java_com_orvane_toolbox_instrument_SimDriver_setSerialPoll(JNIEnv*, jclass,
                                                                                  jint board,
                                                                                  jint pad,
                                                                                  jint value) {
    control.setSerialPoll(board, pad, value);
}

JNIEXPORT void JNICALL Java_com_orvane_toolbox_instrument_SimDriver_setParallelPoll(JNIEnv*, jclass,
                                                                                    jint board,
                                                                                    jint value) {
    control.setParallelPoll(board, value);
}

JNIEXPORT void JNICALL Java_com_orvane_toolbox_instrument_SimDriver_setLines(JNIEnv*, jclass,
                                                                             jint board,
                                                                             jint lines) {
    control.setLines(board, lines);
}

JNIEXPORT void JNICALL Java_com_orvane_toolbox_instrument_SimDriver_injectFailure(
    JNIEnv* env, jclass, jstring function, jint ud, jint iberr, jint times) {
    const char* chars = env->GetStringUTFChars(function, nullptr);
    control.injectFailure(chars, ud, iberr, times);
    env->ReleaseStringUTFChars(function, chars);
}

JNIEXPORT void JNICALL Java_com_orvane_toolbox_instrument_SimDriver_setAsyncHold(JNIEnv*, jclass,
                                                                                 jboolean hold) {
    control.setAsyncHold(hold ? 1 : 0);
}

JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_SimDriver_finishClosedReads(JNIEnv*,
                                                                                      jclass) {
    return control.finishClosedReads();
}

JNIEXPORT jstring JNICALL Java_com_orvane_toolbox_instrument_SimDriver_callLog(JNIEnv* env,
                                                                               jclass) {
    std::vector<char> buffer(static_cast<std::size_t>(control.callLog(nullptr, 0)) + 1);
    control.callLog(buffer.data(), static_cast<int>(buffer.size()));
    return env->NewStringUTF(buffer.data());
}

JNIEXPORT void JNICALL Java_com_orvane_toolbox_instrument_SimDriver_clearLog(JNIEnv*, jclass) {
    control.clearLog();
}

JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_SimDriver_option(JNIEnv*, jclass, jint ud,
                                                                           jint option) {
    return control.option(ud, option);
}

}  // extern "C"
