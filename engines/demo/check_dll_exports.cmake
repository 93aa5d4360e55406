# Checks that a DLL exports exactly the expected names, each under its
# expected ordinal.
#   cmake -DOBJDUMP=objdump -DDLL=file.dll -DEXPECTED=name:ordinal,... -P check_dll_exports.cmake
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed")
endif()

if(NOT dump MATCHES "Ordinal Base[ \t]+([0-9]+)")
    message(FATAL_ERROR "${DLL} has no export table")
endif()
set(base ${CMAKE_MATCH_1})

# The name table runs from its heading to the next blank line; each entry is
# "[index] name" with ordinal = base + index.
string(FIND "${dump}" "[Ordinal/Name Pointer] Table" start)
if(start EQUAL -1)
    message(FATAL_ERROR "${DLL} exports no names")
endif()
string(SUBSTRING "${dump}" ${start} -1 table)
string(FIND "${table}" "\n\n" end)
string(SUBSTRING "${table}" 0 ${end} table)
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" entries "${table}")

set(actual "")
foreach(entry IN LISTS entries)
    string(REGEX MATCH "\\[ *([0-9]+)\\] ([^\n]+)" _ "${entry}")
    math(EXPR ordinal "${base} + ${CMAKE_MATCH_1}")
    list(APPEND actual "${CMAKE_MATCH_2}:${ordinal}")
endforeach()

string(REPLACE "," ";" expected "${EXPECTED}")
list(SORT actual)
list(SORT expected)
if(NOT actual STREQUAL expected)
    string(REPLACE ";" "\n  " actual_lines "${actual}")
    string(REPLACE ";" "\n  " expected_lines "${expected}")
    message(FATAL_ERROR "exports of ${DLL}:\n  ${actual_lines}\nexpected:\n  ${expected_lines}")
endif()
list(LENGTH actual count)
message(STATUS "${DLL}: ${count} exports, each under its ordinal")
