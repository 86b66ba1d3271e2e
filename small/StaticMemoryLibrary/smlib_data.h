/*
 * smlib_data: a read-write byte cursor over caller-provided memory, for
 * message buffers. Never allocates, never locks; one thread at a time.
 */
#ifndef SMLIB_DATA_H
#define SMLIB_DATA_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct smlib_data {
    unsigned char* memory; /* caller-owned; null exactly when size is 0 */
    uint64_t size;         /* capacity in bytes */
    uint64_t position;     /* next byte read or written */
} smlib_data;

/* Position 0. Asserts self; memory null exactly when size is 0 ("size == 0"
 * for a null memory with a size, "size > 0" for a memory with size 0). */
void smlib_data_init(smlib_data* self, void* memory, uint64_t size);
/* Copies up to n whole elements out from the position; returns the number copied. */
uint64_t smlib_data_read(smlib_data* self, void* out, uint64_t elementSize, uint64_t n);
/* Copies up to n whole elements in at the position; returns the number
 * written (0 for a cursor of size 0). */
uint64_t smlib_data_write(smlib_data* self, const void* in, uint64_t elementSize, uint64_t n);
/* origin 0 start, 1 current, 2 last byte; 0 when the position moved, -1 when
 * not. Another origin asserts "0". */
int32_t smlib_data_seek(smlib_data* self, int64_t offset, int32_t origin);
uint64_t smlib_data_tell(const smlib_data* self);
uint64_t smlib_data_getSize(const smlib_data* self);

#ifdef __cplusplus
}
#endif

#endif
