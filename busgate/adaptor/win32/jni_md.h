/* Machine-dependent JNI types for 32-bit Windows builds with mingw-w64. */
#ifndef BUSGATE_WIN32_JNI_MD_H
#define BUSGATE_WIN32_JNI_MD_H

#define JNIEXPORT __declspec(dllexport)
#define JNIIMPORT __declspec(dllimport)
#define JNICALL __stdcall

typedef long jint;
typedef long long jlong;
typedef signed char jbyte;

#endif
