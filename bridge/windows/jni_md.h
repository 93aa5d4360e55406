/* Machine-dependent JNI types and calling conventions for Windows, written
 * from the published JNI conventions: JNI functions use __stdcall on 32-bit
 * x86 (the keyword is ignored on x86-64), jint is a 32-bit long (Windows is
 * LLP64), jlong is 64 bits wide and jbyte is a signed char.
 *
 * JNIEXPORT defaults to dllexport. rvxjava defines it empty on the compiler
 * command line, because its export table is written by a module-definition
 * file that gives each function its decorated name. */
#ifndef RVX_BRIDGE_WINDOWS_JNI_MD_H
#define RVX_BRIDGE_WINDOWS_JNI_MD_H

#ifndef JNIEXPORT
#define JNIEXPORT __declspec(dllexport)
#endif
#define JNIIMPORT __declspec(dllimport)
#define JNICALL __stdcall

typedef long jint;
typedef long long jlong;
typedef signed char jbyte;

#endif /* !RVX_BRIDGE_WINDOWS_JNI_MD_H */
