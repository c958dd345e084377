// Constant texts the host can read from the library without calling it.
#include <jni.h>

extern "C" {
JNIEXPORT extern const char* const busgate_version;
JNIEXPORT extern const char* const busgate_build_date;

const char* const busgate_version = BUSGATE_VERSION;
// "Mmm dd yyyy", as the compiler gives it.
const char* const busgate_build_date = __DATE__;
}
