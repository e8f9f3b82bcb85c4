# Putting velkano's web pages together at build time: a template whose @NAME@ places are filled
# with files' contents. Each script is allowed by its SHA-256 in the page's
# Content-Security-Policy (@SCRIPT_HASHES@), so a page runs nothing else. Both pages come
# from tools/web/page.html, the view's page; the converter page adds its side panel and
# scripts. Included by the scripts that make each page (EmbedViewPage.cmake,
# ConverterPage.cmake).

# Run as scripts, these have no project's policies: "@NAME@" must stay text, not a variable.
cmake_policy(VERSION 3.25)

set(_velkano_base64_alphabet "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")

# The base64 form of a hex string, as CSP hashes want it.
function(velkano_hex_to_base64 hex out)
    string(LENGTH "${hex}" length)
    set(text "")
    set(i 0)
    while(i LESS length)
        string(SUBSTRING "${hex}" ${i} 6 chunk)
        string(LENGTH "${chunk}" digits)
        math(EXPR bytes "${digits} / 2")
        while(digits LESS 6)
            string(APPEND chunk "0")
            math(EXPR digits "${digits} + 1")
        endwhile()
        math(EXPR value "0x${chunk}")
        set(group "")
        foreach(shift 18 12 6 0)
            math(EXPR index "(${value} >> ${shift}) & 63")
            string(SUBSTRING "${_velkano_base64_alphabet}" ${index} 1 c)
            string(APPEND group "${c}")
        endforeach()
        if(bytes EQUAL 2)
            string(SUBSTRING "${group}" 0 3 group)
            string(APPEND group "=")
        elseif(bytes EQUAL 1)
            string(SUBSTRING "${group}" 0 2 group)
            string(APPEND group "==")
        endif()
        string(APPEND text "${group}")
        math(EXPR i "${i} + 6")
    endwhile()
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# velkano_fill_page(PAGE_VAR NAME FILES [NAME FILES...]): in the text PAGE_VAR holds, every
# @NAME@ becomes the contents of FILES ('|' between several, joined in that order). Parts
# named *_JS are scripts: their hashes go into @SCRIPT_HASHES@. missing names what to run
# when a file is not there.
function(velkano_fill_page page_var missing)
    set(page "${${page_var}}")
    set(hashes "")
    set(parts ${ARGN})
    list(LENGTH parts count)
    math(EXPR last "${count} - 1")
    foreach(i RANGE 0 ${last} 2)
        math(EXPR j "${i} + 1")
        list(GET parts ${i} name)
        list(GET parts ${j} joined)
        string(REPLACE "|" ";" paths "${joined}")
        set(content "")
        foreach(path IN LISTS paths)
            if(NOT EXISTS "${path}")
                message(FATAL_ERROR "the page needs ${path} (${missing})")
            endif()
            if(NOT content STREQUAL "" AND NOT content MATCHES "\n$")
                string(APPEND content "\n")
            endif()
            file(READ "${path}" piece)
            # A source map the page cannot load is left out.
            string(REGEX REPLACE "\n//# sourceMappingURL=[^\n]*" "" piece "${piece}")
            string(APPEND content "${piece}")
        endforeach()
        # Either would end the element early, or keep the parser from seeing its end.
        string(TOLOWER "${content}" lower)
        if(lower MATCHES "</(script|style)" OR lower MATCHES "<!--")
            message(FATAL_ERROR "${joined} contains a closing tag or <!-- and cannot be inlined")
        endif()
        if(name MATCHES "_JS$")
            string(SHA256 digest "${content}")
            velkano_hex_to_base64("${digest}" hash)
            string(APPEND hashes " 'sha256-${hash}'")
        endif()
        string(REPLACE "@${name}@" "${content}" page "${page}")
    endforeach()
    string(STRIP "${hashes}" hashes)
    string(REPLACE "@SCRIPT_HASHES@" "${hashes}" page "${page}")
    set(${page_var} "${page}" PARENT_SCOPE)
endfunction()

# velkano_set_places(PAGE_VAR NAME TEXT [NAME TEXT...]): every @NAME@ becomes TEXT.
function(velkano_set_places page_var)
    set(page "${${page_var}}")
    set(pairs ${ARGN})
    while(pairs)
        list(POP_FRONT pairs name text)
        string(REPLACE "@${name}@" "${text}" page "${page}")
    endwhile()
    set(${page_var} "${page}" PARENT_SCOPE)
endfunction()

# velkano_fill_view_page(PAGE_VAR WEB_DIR MISSING CSS JS [NAME FILES...]): page.html's files
# filled in: the view's libraries from the npm packages in WEB_DIR, the page's own style (CSS)
# and scripts (JS), files joined by '|', and any further places as velkano_fill_page fills them.
function(velkano_fill_view_page page_var web_dir missing css js)
    set(page "${${page_var}}")
    set(modules "${web_dir}/node_modules")
    velkano_fill_page(page "${missing}"
        LEAFLET_CSS "${modules}/leaflet/dist/leaflet.css"
        UPLOT_CSS "${modules}/uplot/dist/uPlot.min.css"
        PAGE_CSS "${css}"
        LEAFLET_JS "${modules}/leaflet/dist/leaflet.js"
        UPLOT_JS "${modules}/uplot/dist/uPlot.iife.min.js"
        GEODESIC_JS "${modules}/geographiclib-geodesic/geographiclib-geodesic.min.js"
        PAGE_JS "${js}"
        ${ARGN})
    set(${page_var} "${page}" PARENT_SCOPE)
endfunction()
