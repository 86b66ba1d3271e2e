/*
 * smlib_constData: a read-only byte cursor over caller-provided memory, for
 * parser input. Never allocates, never locks; one thread at a time.
 */
#ifndef SMLIB_CONSTDATA_H
#define SMLIB_CONSTDATA_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct smlib_constData {
    const unsigned char* memory; /* reference into the caller's buffer; null exactly when size is 0 */
    uint64_t size;               /* bytes */
    uint64_t position;           /* next byte read */
} smlib_constData;

/* Position 0. Asserts self; memory null exactly when size is 0. */
void smlib_constData_init(smlib_constData* self, const void* memory, uint64_t size);
/* Copies up to n whole elements out from the position; returns the number copied. */
uint64_t smlib_constData_read(smlib_constData* self, void* out, uint64_t elementSize, uint64_t n);
/* As smlib_data_seek. */
int32_t smlib_constData_seek(smlib_constData* self, int64_t offset, int32_t origin);
uint64_t smlib_constData_tell(const smlib_constData* self);

#ifdef __cplusplus
}
#endif

#endif
