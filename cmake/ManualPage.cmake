# Writes the manual page joinclip.1 from the help the commands print, so the
# page never says something the program does not. Run as a script:
#   cmake -DJOINCLIP=path/to/joinclip -DVERSION=x.y.z -DOUTPUT=joinclip.1 -P ManualPage.cmake
set(commands info list rename join components export settings prefs)

# Roff reads a backslash as an escape and a line starting with "." or "'" as
# a request: both are written so that they print as they are.
function(roff_text input output)
    string(REPLACE "\\" "\\e" text "${input}")
    string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
    set(${output} "${text}" PARENT_SCOPE)
endfunction()

function(help_of output)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env HOME=${WORK} XDG_CONFIG_HOME=${WORK} ${JOINCLIP} ${ARGN}
        OUTPUT_VARIABLE text RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "joinclip ${ARGN} failed: ${status}")
    endif()
    roff_text("${text}" text)
    set(${output} "${text}" PARENT_SCOPE)
endfunction()

file(MAKE_DIRECTORY ${WORK})
help_of(overview --help)
set(page ".TH JOINCLIP 1 \"\" \"JoinClip ${VERSION}\" \"User Commands\"
.SH NAME
joinclip \\- join movie, picture and sound files into one movie
.SH SYNOPSIS
.B joinclip
[\\fIFILE\\fR...]
.br
.B joinclip
\\fICOMMAND\\fR [\\fIOPTION\\fR...] [\\fIFILE\\fR...]
.SH DESCRIPTION
Without a command, or with files only, JoinClip opens its window with the files in its list
(a JoinClip that is already running takes them). With a command it works without a window.
.PP
.nf
${overview}.fi
.SH COMMANDS
")
foreach(command ${commands})
    help_of(help ${command} --help)
    string(APPEND page ".SS ${command}\n.nf\n${help}.fi\n")
endforeach()
string(APPEND page ".SH FILES
.TP
.I ~/.config/joinclip/preferences.plist
The preferences, shared by the window and the commands.
.SH SEE ALSO
The README in /usr/share/doc/joinclip.
")
file(WRITE ${OUTPUT} "${page}")
