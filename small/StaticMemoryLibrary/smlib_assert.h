/*
 * Fatal assertion shared by the static-memory and MIDI libraries.
 *
 * A violated precondition is a programming error: the program prints the
 * function, the source file, the line and the condition text to stderr and
 * aborts. Run-time outcomes are never reported this way; they are results.
 */
#ifndef SMLIB_ASSERT_H
#define SMLIB_ASSERT_H

#ifdef __cplusplus
extern "C" {
#define SMLIB_NORETURN [[noreturn]]
#else
#define SMLIB_NORETURN _Noreturn
#endif

/* Prints "Assertion failed: <condition>, function <function>, file <file>,
 * line <line>." and aborts. Never returns. Any thread. */
SMLIB_NORETURN void smlib_assertFailed(const char* function, const char* file, int line,
                                       const char* condition);

#define SMLIB_ASSERT(condition)                                                          \
    ((condition) ? (void)0 : smlib_assertFailed(__func__, __FILE__, __LINE__, #condition))

#ifdef __cplusplus
}
#endif

#endif
