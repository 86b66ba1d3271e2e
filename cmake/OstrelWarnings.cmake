# Warning flags for our own targets; third-party code is never built with them.
function(ostrel_target_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow)
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C>:-Wpedantic -Wstrict-prototypes>)
    if(OSTREL_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
