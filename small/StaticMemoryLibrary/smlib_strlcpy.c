#include "smlib_strlcpy.h"

#include "smlib_assert.h"

int32_t smlib_strlcpy(char* destStr, const char* srcStr, uint64_t destMemSize)
{
    SMLIB_ASSERT(destStr);
    SMLIB_ASSERT(srcStr);
    SMLIB_ASSERT(destMemSize > 0);
    uint64_t i = 0;
    while (i < destMemSize - 1 && srcStr[i] != '\0') {
        destStr[i] = srcStr[i];
        i++;
    }
    destStr[i] = '\0';
    destStr[destMemSize - 1] = '\0';
    return (srcStr[i] == '\0') ? 0 : -1;
}
