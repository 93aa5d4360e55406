# The sixteen operations of the engine rvx_txif as its DLL exports them:
# symbol, bytes of arguments of the 32-bit __stdcall entry point, ordinal.
# rvxjava imports them by ordinal only; every engine exports these ordinals.
set(RVX_ENGINE_OPERATIONS
    rvxFileInfoV3:8:301
    rvxTextV3:12:302
    rvxPageTextV3:16:303
    rvxPropertyV3:12:304
    rvxPwdTextV3:16:305
    rvxPwdPageTextV3:20:306
    rvxPwdPropertyV3:16:307
    rvxFileInfoV4:8:401
    rvxTextV4:16:402
    rvxPageTextV4:20:403
    rvxPropertyV4:12:404
    rvxPwdTextV4:20:405
    rvxPwdPageTextV4:24:406
    rvxPwdPropertyV4:16:407
    rvxTextStreamV4:16:420
    rvxPageTextStreamV4:20:421)

# rvx_engine_operation(ENTRY SYMBOL_VAR ORDINAL_VAR)
# The symbol of one entry of the table as the current target names it (with
# its __stdcall decoration, name@bytes, on 32-bit x86) and its ordinal.
function(rvx_engine_operation entry symbol_var ordinal_var)
    string(REPLACE ":" ";" fields ${entry})
    list(GET fields 0 symbol)
    list(GET fields 1 bytes)
    list(GET fields 2 ordinal)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        string(APPEND symbol "@${bytes}")
    endif()
    set(${symbol_var} ${symbol} PARENT_SCOPE)
    set(${ordinal_var} ${ordinal} PARENT_SCOPE)
endfunction()

# rvx_write_engine_def(OUTPUT MODE [EXTRA_EXPORTS symbol...])
# Writes the module-definition file of rvx_txif.dll for the current target.
# MODE IMPORT lists the operations by ordinal without names, for the import
# library that rvxjava links; MODE EXPORT gives an engine DLL its ordinals,
# plus any further undecorated C symbols it exports by name. On 32-bit x86
# the symbols carry their __stdcall decoration (name@bytes).
function(rvx_write_engine_def output mode)
    cmake_parse_arguments(ARG "" "" "EXTRA_EXPORTS" ${ARGN})
    set(text "LIBRARY rvx_txif.dll\nEXPORTS\n")
    foreach(entry IN LISTS RVX_ENGINE_OPERATIONS)
        rvx_engine_operation(${entry} symbol ordinal)
        if(mode STREQUAL "IMPORT")
            string(APPEND text "    ${symbol} @${ordinal} NONAME\n")
        else()
            string(APPEND text "    ${symbol} @${ordinal}\n")
        endif()
    endforeach()
    foreach(symbol IN LISTS ARG_EXTRA_EXPORTS)
        string(APPEND text "    ${symbol}\n")
    endforeach()
    # Rewritten only when its content changes, so that nothing relinks needlessly.
    file(WRITE ${output}.new "${text}")
    configure_file(${output}.new ${output} COPYONLY)
endfunction()
