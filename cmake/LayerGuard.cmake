# Keeps the layers honest: the libraries below the user interface must not reach Qt Gui or
# Qt Widgets, and imaging reaches Qt Gui but not Widgets. Checked when the build is
# configured, so a forbidden link fails the build rather than passing unnoticed.

function(perlinex_collect_links target out)
    set(seen ${${out}})
    if(NOT TARGET ${target} OR ${target} IN_LIST seen)
        set(${out} ${seen} PARENT_SCOPE)
        return()
    endif()
    list(APPEND seen ${target})
    get_target_property(aliased ${target} ALIASED_TARGET)
    if(aliased)
        list(APPEND seen ${aliased})
        set(target ${aliased})
    endif()
    set(links)
    get_target_property(type ${target} TYPE)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
        get_target_property(direct ${target} LINK_LIBRARIES)
        if(direct)
            list(APPEND links ${direct})
        endif()
    endif()
    get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
    if(interface)
        list(APPEND links ${interface})
    endif()
    foreach(link IN LISTS links)
        string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
        perlinex_collect_links(${link} seen)
    endforeach()
    set(${out} ${seen} PARENT_SCOPE)
endfunction()

function(perlinex_forbid_links target)
    set(reached)
    perlinex_collect_links(${target} reached)
    foreach(forbidden IN LISTS ARGN)
        if(${forbidden} IN_LIST reached)
            message(FATAL_ERROR "${target} must not depend on ${forbidden}")
        endif()
    endforeach()
endfunction()

foreach(core perlinex_util perlinex_regional perlinex_db_core perlinex_db_sqlite perlinex_db_pg
             perlinex_db
             perlinex_record perlinex_browse perlinex_exchange perlinex_generator perlinex_stats)
    perlinex_forbid_links(${core} Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
endforeach()
perlinex_forbid_links(perlinex_imaging Qt6::Widgets Qt6::PrintSupport)

# What every store shares knows no engine: the SQLite file and the PostgreSQL server each keep to
# their own library, and neither reaches the other.
perlinex_forbid_links(perlinex_db_core SQLite::SQLite3 PostgreSQL::PostgreSQL perlinex_db_sqlite
                      perlinex_db_pg)
perlinex_forbid_links(perlinex_db_sqlite PostgreSQL::PostgreSQL perlinex_db_pg)
perlinex_forbid_links(perlinex_db_pg SQLite::SQLite3 perlinex_db_sqlite)
