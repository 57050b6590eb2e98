# Installs the build into a fresh prefix and checks what a desktop will find there: exactly
# the binary, the menu entry, the metadata and the icon (and translations, once there are
# some), pointing at one another, and accepted by the freedesktop.org validators when those
# are installed.
# Run by CTest: cmake -DBUILD_DIR=… -DPREFIX=… -DBINDIR=… -DDATADIR=… -DVERSION=… -P this
cmake_minimum_required(VERSION 3.25)
set(id io.github.lumenquill.LumenQuill)
set(failures "")
macro(fail message)
    string(APPEND failures "${message}\n")
endmacro()

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${status}):\n${output}")
endif()

set(binary ${BINDIR}/lumenquill)
set(desktop ${DATADIR}/applications/${id}.desktop)
set(metainfo ${DATADIR}/metainfo/${id}.metainfo.xml)
set(icon ${DATADIR}/icons/hicolor/scalable/apps/${id}.svg)
set(expected ${binary} ${desktop} ${metainfo} ${icon})

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${PREFIX} ${PREFIX}/*)
foreach(path ${expected})
    if(NOT path IN_LIST installed)
        fail("missing: ${path}")
    endif()
endforeach()
foreach(path ${installed})
    if(NOT path IN_LIST expected AND NOT path MATCHES "^${DATADIR}/lumenquill/translations/[^/]+\\.qm$")
        fail("installed but not expected: ${path}")
    endif()
endforeach()

# The menu entry must start the installed binary and show the installed icon; the metadata's
# newest release must be the version being installed.
if(EXISTS ${PREFIX}/${desktop})
    file(STRINGS ${PREFIX}/${desktop} exec REGEX "^Exec=")
    if(NOT exec MATCHES "^Exec=lumenquill( |$)")
        fail("${desktop} does not start lumenquill: ${exec}")
    endif()
    file(STRINGS ${PREFIX}/${desktop} icon_key REGEX "^Icon=")
    if(NOT icon_key STREQUAL "Icon=${id}")
        fail("${desktop} names another icon: ${icon_key}")
    endif()
endif()
if(EXISTS ${PREFIX}/${metainfo})
    file(READ ${PREFIX}/${metainfo} text)
    string(REGEX MATCH "<release version=\"([^\"]*)\"" newest "${text}")
    if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
        fail("${metainfo}: newest release is '${CMAKE_MATCH_1}', the project is ${VERSION}")
    endif()
endif()

# desktop-file-validate prints warnings and hints with status 0, and nothing for a clean file.
function(validate tool)
    find_program(${tool}_program ${tool})
    if(NOT ${tool}_program)
        message(STATUS "${tool} is not installed: not run")
        return()
    endif()
    execute_process(COMMAND ${${tool}_program} ${ARGN}
        RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT status EQUAL 0 OR (tool STREQUAL "desktop-file-validate" AND output))
        list(JOIN ARGN " " arguments)
        set(failures "${failures}${tool} ${arguments} failed:\n${output}" PARENT_SCOPE)
    endif()
endfunction()
validate(desktop-file-validate ${PREFIX}/${desktop})
validate(appstreamcli validate --no-net ${PREFIX}/${metainfo})

file(REMOVE_RECURSE ${PREFIX})
if(failures)
    message(FATAL_ERROR "${failures}")
endif()
message(STATUS "installed and valid: ${expected}")
