#include "smlib_assert.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* The message names the module file only: build paths differ between machines
 * and say nothing about where the fault is. */
static const char* baseName(const char* path)
{
    const char* slash = strrchr(path, '/');
    return slash ? slash + 1 : path;
}

void smlib_assertFailed(const char* function, const char* file, int line, const char* condition)
{
    fprintf(stderr, "Assertion failed: %s, function %s, file %s, line %d.\n", condition,
            function, baseName(file), line);
    fflush(stderr);
    abort();
}
