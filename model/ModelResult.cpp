#include "ModelResult.h"

void setModelResult(MODEL_RESULT* result, MODEL_RESULT value)
{
    if (result) {
        *result = value;
    }
}
