/* The parser as it was before its whole-message path: the same source
 * without that path, under other names, for the differential test. */
#define MIDILIB_PARSER_FAST_PATH 0
#define midilib_parser_init reference_parser_init
#define midilib_parser_clear reference_parser_clear
#define midilib_parser_clearRunningStatus reference_parser_clearRunningStatus
#define midilib_parser_setData reference_parser_setData
#define midilib_parser_parse reference_parser_parse
#include "midilib_parser.c"
