// The synchronous native methods of com.orvane.toolbox.instrument.GpibNI. The
// handle Java holds is the driver's descriptor itself; nothing is kept per
// session.
#include <jni.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "async_transfers.h"
#include "error_messages.h"
#include "thread_status.h"

using namespace busgate;

namespace {

constexpr int kTimeoutProperty = 5;
constexpr double kMaximumTimeoutSeconds = 1000.0;
constexpr int kTimeoutTooLarge = -100;
constexpr int kNoListener = -200;
constexpr int kFirstInstrumentAddress = 1;
constexpr int kLastInstrumentAddress = 30;
constexpr long kIdentificationReplyLimit = 100;
constexpr int kBoardCount = 8;

// Seconds of each driver timeout code, TNONE first.
constexpr double kTimeoutSeconds[] = {0,     0.00001, 0.00003, 0.0001, 0.0003, 0.001,
                                      0.003, 0.01,    0.03,    0.1,    0.3,    1,
                                      3,     10,      30,      100,    300,    1000};
constexpr int kTimeoutCodeCount = sizeof(kTimeoutSeconds) / sizeof(kTimeoutSeconds[0]);

double timeoutSecondsOf(int code) {
    return code >= 0 && code < kTimeoutCodeCount ? kTimeoutSeconds[code] : 0.0;
}

bool statusTerminated(int status) {
    return (status & (ni488::END | ni488::CMPL)) != 0;
}

std::string boardName(int board) {
    char name[32];
    std::snprintf(name, sizeof name, "gpib%d", board);
    return name;
}

// A Java string's modified-UTF-8 bytes; a null string has none.
std::string utfBytes(JNIEnv* env, jstring text) {
    if (text == nullptr) return {};
    const char* chars = env->GetStringUTFChars(text, nullptr);
    std::string bytes(chars, static_cast<std::size_t>(env->GetStringUTFLength(text)));
    env->ReleaseStringUTFChars(text, chars);
    return bytes;
}

jobject newInteger(JNIEnv* env, jclass integerClass, jint value) {
    const jmethodID constructor = env->GetMethodID(integerClass, "<init>", "(I)V");
    return env->NewObject(integerClass, constructor, value);
}

// Builds an Object[] of the given elements and drops the local references to
// them; the elements stay reachable through the array.
jobjectArray objectArray(JNIEnv* env, std::initializer_list<jobject> elements) {
    jclass objectClass = env->FindClass("java/lang/Object");
    jobjectArray array =
        env->NewObjectArray(static_cast<jsize>(elements.size()), objectClass, nullptr);
    jsize index = 0;
    for (jobject element : elements) {
        if (array != nullptr) env->SetObjectArrayElement(array, index, element);
        ++index;
        if (element != nullptr) env->DeleteLocalRef(element);
    }
    env->DeleteLocalRef(objectClass);
    return array;
}

jobjectArray failureArray(JNIEnv* env, jint code) {
    jclass integerClass = env->FindClass("java/lang/Integer");
    jobject integer = newInteger(env, integerClass, code);
    env->DeleteLocalRef(integerClass);
    return objectArray(env, {integer});
}

// Element access for each primitive array type the binary methods move.
template <typename ArrayType>
struct ArrayAccess;

#define BUSGATE_ARRAY_ACCESS(ArrayType, ElementType, Name)                     \
    template <>                                                                \
    struct ArrayAccess<ArrayType> {                                            \
        using Element = ElementType;                                           \
        static ArrayType create(JNIEnv* env, jsize length) {                   \
            return env->New##Name##Array(length);                              \
        }                                                                      \
        static Element* elements(JNIEnv* env, ArrayType array) {               \
            return env->Get##Name##ArrayElements(array, nullptr);              \
        }                                                                      \
        static void release(JNIEnv* env, ArrayType array, Element* elements) { \
            env->Release##Name##ArrayElements(array, elements, 0);             \
        }                                                                      \
    };
BUSGATE_ARRAY_ACCESS(jbyteArray, jbyte, Byte)
BUSGATE_ARRAY_ACCESS(jshortArray, jshort, Short)
BUSGATE_ARRAY_ACCESS(jintArray, jint, Int)
BUSGATE_ARRAY_ACCESS(jfloatArray, jfloat, Float)
BUSGATE_ARRAY_ACCESS(jdoubleArray, jdouble, Double)
BUSGATE_ARRAY_ACCESS(jcharArray, jchar, Char)
#undef BUSGATE_ARRAY_ACCESS

template <typename ArrayType>
jint writeBinary(JNIEnv* env, jint ud, ArrayType array) {
    using Access = ArrayAccess<ArrayType>;
    constexpr long elementSize = sizeof(typename Access::Element);
    const jsize length = array != nullptr ? env->GetArrayLength(array) : 0;
    typename Access::Element* elements = array != nullptr ? Access::elements(env, array) : nullptr;
    driver().ibwrt(ud, elements, static_cast<long>(length) * elementSize);
    const bool failed = threadFailed();
    const int result = failed ? negatedThreadError() : driver().ThreadIbcnt() / elementSize;
    if (elements != nullptr) Access::release(env, array, elements);
    if (array != nullptr) env->DeleteLocalRef(array);
    return result;
}

struct BinaryRead {
    jarray array = nullptr;
    jint elementsRead = 0;
};

template <typename ArrayType>
BinaryRead readBinary(JNIEnv* env, jint ud, jint count) {
    using Access = ArrayAccess<ArrayType>;
    constexpr long elementSize = sizeof(typename Access::Element);
    BinaryRead read;
    ArrayType array = Access::create(env, count);
    if (array == nullptr) return read;  // OutOfMemoryError is pending for Java
    typename Access::Element* elements = Access::elements(env, array);
    driver().ibrd(ud, elements, static_cast<long>(count) * elementSize);
    Access::release(env, array, elements);
    read.array = array;
    read.elementsRead = std::clamp<jint>(driver().ThreadIbcnt() / elementSize, 0, count);
    return read;
}

BinaryRead readBinaryOfType(JNIEnv* env, jint ud, jint count, jint type) {
    switch (type) {
        case 0:
            return readBinary<jbyteArray>(env, ud, count);
        case 1:
            return readBinary<jshortArray>(env, ud, count);
        case 2:
            return readBinary<jintArray>(env, ud, count);
        case 3:
            return readBinary<jfloatArray>(env, ud, count);
        case 4:
            return readBinary<jdoubleArray>(env, ud, count);
        case 5:
            return readBinary<jcharArray>(env, ud, count);
        default:
            return {};
    }
}

// The IEEE 488 parallel poll enable byte for a data line (1..8) and sense.
int parallelPollEnable(int line, int sense) {
    if (line == 0) return 0;
    return 0x60 + (line - 1) + (sense != 0 ? 8 : 0);
}

// -1 for a mode that switches the end-of-string setting off altogether.
int endOfStringModeBits(int mode) {
    switch (mode) {
        case 0:
            return 0;
        case 1:
            return ni488::REOS;
        case 2:
            return ni488::XEOS;
        case 3:
            return ni488::REOS | ni488::XEOS;
        default:
            return -1;
    }
}

int askOption(jint ud, int option) {
    int value = 0;
    driver().ibask(ud, option, &value);
    return value;
}

struct InstrumentFind {
    int board;
    int address;
    std::string reply;
};

// Scans addresses 1..30 of one board with the identification commands.
void scanBoard(int board, const std::vector<std::string>& commands,
               std::vector<InstrumentFind>& finds) {
    const int boardUd = driver().ibfindA(boardName(board).c_str());
    if (boardUd < 0) return;
    driver().ibconfig(boardUd, ni488::IbcSC, 1);
    driver().ibsic(boardUd);
    driver().ibconfig(boardUd, ni488::IbcSRE, 1);
    driver().ibconfig(boardUd, ni488::IbcEOS, 0);
    driver().ibconfig(boardUd, ni488::IbcEOT, 1);
    driver().ibconfig(boardUd, ni488::IbcPAD, 0);
    driver().ibconfig(boardUd, ni488::IbcSAD, 0);
    driver().ibconfig(boardUd, ni488::IbcREADDR, 1);

    for (int address = kFirstInstrumentAddress; address <= kLastInstrumentAddress; ++address) {
        const int ud = driver().ibdev(board, address, 0, ni488::T300ms, 1, 0);
        if (ud < 0) continue;
        driver().ibconfig(ud, ni488::IbcREADDR, 1);
        for (const std::string& command : commands) {
            driver().ibwrt(ud, command.data(), static_cast<long>(command.size()));
            if (!threadFailed()) {
                char reply[256] = {};
                driver().ibrd(ud, reply, kIdentificationReplyLimit);
                const int length = std::clamp(driver().ThreadIbcnt(), 0,
                                              static_cast<int>(kIdentificationReplyLimit));
                finds.push_back(
                    {board, address, std::string(reply, static_cast<std::size_t>(length))});
                break;
            }
            driver().ibloc(ud);
        }
        driver().ibloc(ud);
        driver().ibonl(ud, 0);
    }
}

}  // namespace

extern "C" {

JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_GpibNI_Create(JNIEnv* env, jobject,
                                                                        jint board, jint pad,
                                                                        jint sad, jint, jint,
                                                                        jbyte eot, jbyte eos) {
    // eot and eos are 8-bit values; widening them signed would set the mode
    // bits of the end-of-string setting for characters of 0x80 and above.
    const int ud = driver().ibdev(board, pad, sad, ni488::TNONE, static_cast<unsigned char>(eot),
                                  static_cast<unsigned char>(eos));
    if (ud == -1) return 0;
    driver().ibconfig(ud, ni488::IbcSC, 1);
    driver().ibsic(ud);
    driver().ibconfig(ud, ni488::IbcSRE, 1);
    short listener = 0;
    driver().ibln(ud, pad, sad, &listener);
    if (listener == 0) return kNoListener;
    if (threadFailed()) {
        // Taken before ibloc, which leaves a status of its own.
        const jint error = negatedThreadError();
        driver().ibloc(ud);
        return error;
    }
    rememberJavaVm(env);
    driver().ibconfig(ud, ni488::IbcAUTOPOLL, 0);
    return ud;
}

JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_GpibNI_Close(JNIEnv* env, jobject,
                                                                       jint ud) {
    driver().ibloc(ud);
    driver().ibnotify(ud, 0, nullptr, nullptr);
    driver().ibonl(ud, 0);
    const jint result = statusResult();
    releaseSessionTransfers(env, ud);
    return result;
}

JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_GpibNI_Clear(JNIEnv*, jobject, jint ud) {
    driver().ibclr(ud);
    return statusResult();
}

JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_GpibNI_Trigger(JNIEnv*, jobject,
                                                                         jint ud) {
    driver().ibtrg(ud);
    return statusResult();
}

JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_GpibNI_Set(JNIEnv*, jobject, jint ud,
                                                                     jint property, jint value) {
    switch (property) {
        case 1:
            driver().ibconfig(ud, ni488::IbcEOT, value);
            break;
        case 2: {
            const int character = askOption(ud, ni488::IbcEOSchar);
            const bool eightBitCompare = askOption(ud, ni488::IbcEOScmp) != 0;
            const int modeBits = endOfStringModeBits(value);
            const int setting =
                modeBits < 0 ? 0 : character + modeBits + (eightBitCompare ? ni488::BIN : 0);
            driver().ibconfig(ud, ni488::IbcEOS, setting);
            break;
        }
        case 3: {
            const bool readEnd = askOption(ud, ni488::IbcEOSrd) != 0;
            const bool writeEnd = askOption(ud, ni488::IbcEOSwrt) != 0;
            const bool eightBitCompare = askOption(ud, ni488::IbcEOScmp) != 0;
            driver().ibconfig(ud, ni488::IbcEOS,
                              value + (readEnd ? ni488::REOS : 0) + (writeEnd ? ni488::XEOS : 0) +
                                  (eightBitCompare ? ni488::BIN : 0));
            break;
        }
        case 4: {
            const bool readEnd = askOption(ud, ni488::IbcEOSrd) != 0;
            const bool writeEnd = askOption(ud, ni488::IbcEOSwrt) != 0;
            const int character = askOption(ud, ni488::IbcEOSchar);
            driver().ibconfig(ud, ni488::IbcEOS,
                              character + (readEnd ? ni488::REOS : 0) +
                                  (writeEnd ? ni488::XEOS : 0) + (value != 7 ? ni488::BIN : 0));
            break;
        }
        default:
            break;
    }
    return statusResult();
}

JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_GpibNI_SetDouble(JNIEnv*, jobject,
                                                                           jint ud, jint property,
                                                                           jdouble seconds) {
    if (property == kTimeoutProperty) {
        if (std::isnan(seconds)) return negated(ni488::EARG);
        if (seconds > kMaximumTimeoutSeconds) return kTimeoutTooLarge;
        int code = 0;
        if (seconds > 0) {
            code = 1;
            while (kTimeoutSeconds[code] < seconds) ++code;
        }
        driver().ibconfig(ud, ni488::IbcTMO, code);
    }
    return statusResult();
}

JNIEXPORT jdouble JNICALL Java_com_orvane_toolbox_instrument_GpibNI_GetDouble(JNIEnv*, jobject,
                                                                              jint ud,
                                                                              jint property) {
    if (property != kTimeoutProperty) return timeoutSecondsOf(property);
    int code = 0;
    driver().ibask(ud, ni488::IbcTMO, &code);
    if (threadFailed()) return negatedThreadError();
    return timeoutSecondsOf(code);
}

JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_GpibNI_Write(JNIEnv* env, jobject,
                                                                       jint ud, jstring text,
                                                                       jint count, jint) {
    std::string bytes = utfBytes(env, text);
    if (text != nullptr) env->DeleteLocalRef(text);
    // The driver must never read past the string's bytes.
    if (count < 0) return negated(ni488::EARG);
    const long length = std::min<long>(count, static_cast<long>(bytes.size()));
    driver().ibwrt(ud, bytes.data(), length);
    if (threadFailed()) return negatedThreadError();
    return driver().ThreadIbcnt();
}

JNIEXPORT jobjectArray JNICALL Java_com_orvane_toolbox_instrument_GpibNI_Read(JNIEnv* env, jobject,
                                                                              jint ud, jint count) {
    if (count < 0) return failureArray(env, negated(ni488::EARG));
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[static_cast<std::size_t>(count) + 1]);
    if (!buffer) return failureArray(env, negated(ni488::EARG));
    driver().ibrd(ud, buffer.get(), count);
    const int status = driver().ThreadIbsta();
    if ((status & ni488::ERR) != 0) return failureArray(env, negatedThreadError());
    buffer[static_cast<std::size_t>(std::clamp<jint>(driver().ThreadIbcnt(), 0, count))] = '\0';

    jclass integerClass = env->FindClass("java/lang/Integer");
    jobject text = env->NewStringUTF(buffer.get());
    jobject terminated = newInteger(env, integerClass, statusTerminated(status) ? 1 : 0);
    env->DeleteLocalRef(integerClass);
    return objectArray(env, {text, terminated});
}

JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_GpibNI_WriteBinaryByte(JNIEnv* env,
                                                                                 jobject, jint ud,
                                                                                 jbyteArray data,
                                                                                 jint, jint) {
    return writeBinary(env, ud, data);
}

JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_GpibNI_WriteBinaryShort(JNIEnv* env,
                                                                                  jobject, jint ud,
                                                                                  jshortArray data,
                                                                                  jint, jint) {
    return writeBinary(env, ud, data);
}

JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_GpibNI_WriteBinaryInt(JNIEnv* env,
                                                                                jobject, jint ud,
                                                                                jintArray data,
                                                                                jint, jint) {
    return writeBinary(env, ud, data);
}

JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_GpibNI_WriteBinaryFloat(JNIEnv* env,
                                                                                  jobject, jint ud,
                                                                                  jfloatArray data,
                                                                                  jint, jint) {
    return writeBinary(env, ud, data);
}

JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_GpibNI_WriteBinaryDouble(
    JNIEnv* env, jobject, jint ud, jdoubleArray data, jint, jint) {
    return writeBinary(env, ud, data);
}

// A char goes on the bus as its two bytes, as ReadBinary type 5 reads it back.
JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_GpibNI_WriteBinaryChar(JNIEnv* env,
                                                                                 jobject, jint ud,
                                                                                 jcharArray data,
                                                                                 jint, jint) {
    return writeBinary(env, ud, data);
}

JNIEXPORT jobjectArray JNICALL Java_com_orvane_toolbox_instrument_GpibNI_ReadBinary(
    JNIEnv* env, jobject, jint ud, jint count, jint type) {
    if (count < 0) return failureArray(env, negated(ni488::EARG));
    const BinaryRead read = readBinaryOfType(env, ud, count, type);
    const int status = driver().ThreadIbsta();
    if ((status & ni488::ERR) != 0) {
        if (read.array != nullptr) env->DeleteLocalRef(read.array);
        return failureArray(env, negatedThreadError());
    }
    jclass integerClass = env->FindClass("java/lang/Integer");
    jobject elementsRead = newInteger(env, integerClass, read.elementsRead);
    jobject terminated = newInteger(env, integerClass, statusTerminated(status) ? 1 : 0);
    env->DeleteLocalRef(integerClass);
    return objectArray(env, {read.array, elementsRead, terminated});
}

JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_GpibNI_SPoll(JNIEnv*, jobject, jint ud) {
    driver().ibwait(ud, ni488::TIMO | ni488::RQS);
    char pollByte = 0;
    driver().ibrsp(ud, &pollByte);
    if (threadFailed()) return negatedThreadError();
    return static_cast<unsigned char>(pollByte);
}

JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_GpibNI_PPoll(JNIEnv*, jobject, jint,
                                                                       jint ud) {
    char pollByte = 0;
    driver().ibrpp(ud, &pollByte);
    if (threadFailed()) return negatedThreadError();
    return static_cast<unsigned char>(pollByte);
}

JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_GpibNI_PPollConfig(JNIEnv*, jobject,
                                                                             jint ud, jint line,
                                                                             jint sense,
                                                                             jint board) {
    driver().SendIFC(board);
    driver().ibppc(ud, parallelPollEnable(line, sense));
    return statusResult();
}

// Line n (1..8) has its valid bit at 1 << (n - 1) and its asserted bit eight
// places higher: DAV, NDAC, NRFD, IFC, REN, SRQ, ATN, EOI.
JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_GpibNI_Lines(JNIEnv*, jobject, jint,
                                                                       jint ud, jint line) {
    short lines = 0;
    driver().iblines(ud, &lines);
    if (line < 1 || line > 8) return 0;
    const unsigned validBit = 1u << (line - 1);
    const unsigned assertedBit = validBit << 8;
    const unsigned state = static_cast<unsigned short>(lines);
    return (state & validBit) != 0 && (state & assertedBit) != 0 ? 1 : 0;
}

JNIEXPORT jstring JNICALL Java_com_orvane_toolbox_instrument_GpibNI_HwInfo(JNIEnv* env, jobject,
                                                                           jint type) {
    return env->NewStringUTF(type == 3 ? "gpib-32.dll" : "NI-488");
}

JNIEXPORT jstring JNICALL Java_com_orvane_toolbox_instrument_GpibNI_TranslateErrorCode(JNIEnv* env,
                                                                                       jobject,
                                                                                       jint,
                                                                                       jint code) {
    return env->NewStringUTF(errorMessage(code));
}

JNIEXPORT jint JNICALL Java_com_orvane_toolbox_instrument_GpibNI_Find(JNIEnv*, jobject) {
    return 0;
}

JNIEXPORT jintArray JNICALL Java_com_orvane_toolbox_instrument_GpibNI_FindBoards(JNIEnv* env,
                                                                                 jobject) {
    std::vector<jint> boards;
    for (int board = 0; board < kBoardCount; ++board) {
        const int ud = driver().ibfindA(boardName(board).c_str());
        if (ud < 0) continue;
        if (!threadFailed()) boards.push_back(board);
        driver().ibonl(ud, 0);
    }
    if (boards.empty()) return nullptr;
    jintArray result = env->NewIntArray(static_cast<jsize>(boards.size()));
    if (result != nullptr) {
        env->SetIntArrayRegion(result, 0, static_cast<jsize>(boards.size()), boards.data());
    }
    return result;
}

JNIEXPORT jobjectArray JNICALL Java_com_orvane_toolbox_instrument_GpibNI_FindInstruments(
    JNIEnv* env, jobject, jintArray boards, jobjectArray commands) {
    if (boards == nullptr) return nullptr;
    std::vector<std::string> commandBytes;
    const jsize commandCount = commands != nullptr ? env->GetArrayLength(commands) : 0;
    for (jsize i = 0; i < commandCount; ++i) {
        auto command = static_cast<jstring>(env->GetObjectArrayElement(commands, i));
        if (command == nullptr) continue;
        commandBytes.push_back(utfBytes(env, command));
        env->DeleteLocalRef(command);
    }
    std::vector<jint> boardNumbers(static_cast<std::size_t>(env->GetArrayLength(boards)));
    if (!boardNumbers.empty()) {
        env->GetIntArrayRegion(boards, 0, static_cast<jsize>(boardNumbers.size()),
                               boardNumbers.data());
    }

    std::vector<InstrumentFind> finds;
    for (const jint board : boardNumbers) scanBoard(board, commandBytes, finds);
    if (finds.empty()) return nullptr;

    jclass objectClass = env->FindClass("java/lang/Object");
    jclass integerClass = env->FindClass("java/lang/Integer");
    jobjectArray result =
        env->NewObjectArray(static_cast<jsize>(finds.size() * 3), objectClass, nullptr);
    for (std::size_t i = 0; result != nullptr && i < finds.size(); ++i) {
        jobject board = newInteger(env, integerClass, finds[i].board);
        jobject address = newInteger(env, integerClass, finds[i].address);
        jobject reply = env->NewStringUTF(finds[i].reply.c_str());
        const auto base = static_cast<jsize>(i * 3);
        env->SetObjectArrayElement(result, base, board);
        env->SetObjectArrayElement(result, base + 1, address);
        env->SetObjectArrayElement(result, base + 2, reply);
        env->DeleteLocalRef(board);
        env->DeleteLocalRef(address);
        env->DeleteLocalRef(reply);
    }
    env->DeleteLocalRef(integerClass);
    env->DeleteLocalRef(objectClass);
    return result;
}

}  // extern "C"
