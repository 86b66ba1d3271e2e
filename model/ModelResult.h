// Result codes of the parameter model, and the id of an unbound connection.
#pragma once

enum MODEL_RESULT {
    MODEL_RESULT_SUCCESS = 0,
    MODEL_RESULT_ERROR = 1,
};

// Marks a connection that is bound to no parameter.
constexpr unsigned int UndefinedId = 0xFFFFFFFFu;

// Writes value through result when result is not null; operations that
// return a value report their outcome this way.
void setModelResult(MODEL_RESULT* result, MODEL_RESULT value);
