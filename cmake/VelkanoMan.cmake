# Writes the man page of velkano from its --help texts: cmake -DVELKANO=PATH -DOUT=FILE
# -DVERSION=X.Y.Z -P VelkanoMan.cmake
function(help_text out)
    execute_process(COMMAND ${VELKANO} ${ARGN} --help OUTPUT_VARIABLE text
                    RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "velkano ${ARGN} --help failed (${status})")
    endif()
    # The usage line names the program as it was called: the build directory's path.
    string(REPLACE "${VELKANO}" "velkano" text "${text}")
    # roff: a backslash is written \e, a line opening with . or ' is kept as text by \&.
    string(REPLACE "\\" "\\e" text "${text}")
    string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

execute_process(COMMAND ${VELKANO} --help OUTPUT_VARIABLE probe)
string(REGEX MATCH "Subcommands:\n.*" commands "${probe}")
string(REGEX MATCHALL "\n  [a-z]+ " commands "${commands}")

help_text(main)
set(page ".TH VELKANO 1 \"\" \"velkano ${VERSION}\" \"User Commands\"
.SH NAME
velkano \\- read and convert Velkano 1.7 flight and route files
.SH SYNOPSIS
.B velkano
[\\fIOPTIONS\\fR] \\fICOMMAND\\fR [\\fIARGS\\fR]
.SH DESCRIPTION
.nf
${main}.fi
")
foreach(command IN LISTS commands)
    string(STRIP "${command}" command)
    help_text(text ${command})
    string(APPEND page ".SS ${command}\n.nf\n${text}.fi\n")
endforeach()
string(APPEND page ".SH EXIT STATUS
0 success, 1 a file could not be read, converted or written (the message names the file),
2 a usage error.
.SH FILES
.TP
.I lib/velkano/Velkano17Rte.drf, lib/velkano/Velkano17Flt.drf
the drivers, under the installation prefix (/usr in the Debian package)
")
file(WRITE ${OUT} "${page}")
