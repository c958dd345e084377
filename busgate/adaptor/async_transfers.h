// State shared between the synchronous methods and the asynchronous transfers.
#pragma once

#include <jni.h>

namespace busgate {

// The VM that completion notifications attach to.
void rememberJavaVm(JNIEnv* env);

// After Close has disarmed the notifications of ud and taken it offline: gives
// back what its transfers still hold, and the read buffer when no read is left.
// The buffer of a read of ud still under way is kept for the process instead,
// and the next read gets a new one.
void releaseSessionTransfers(JNIEnv* env, int ud);

}  // namespace busgate
