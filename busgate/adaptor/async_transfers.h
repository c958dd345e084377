// State shared between the synchronous methods and the asynchronous transfers.
#pragma once

#include <jni.h>

namespace busgate {

// The VM that completion notifications attach to.
void rememberJavaVm(JNIEnv* env);

// After Close has disarmed the notifications of ud and taken it offline: gives
// back what its transfers still hold, and the read buffer when no read is left.
void releaseSessionTransfers(JNIEnv* env, int ud);

}  // namespace busgate
