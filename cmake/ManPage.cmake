# Writes the kestrel-tool manual page from the tool's own --help, so the two
# never disagree. Run as: cmake -DTOOL=... -DOUT=... -DVERSION=... -P ManPage.cmake
execute_process(COMMAND ${TOOL} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "kestrel-tool --help failed: ${status}")
endif()
# troff: a backslash is written \e, and a line may not start with a dot or quote.
string(REPLACE "\\" "\\e" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
string(TIMESTAMP today "%Y-%m-%d" UTC)
file(WRITE ${OUT}
".TH KESTREL-TOOL 1 \"${today}\" \"kestrel-tool ${VERSION}\" \"Kestrel\"
.SH NAME
kestrel-tool \\- headless access to Kestrel's decoders, file readers and calculators
.SH SYNOPSIS
.B kestrel-tool
[\\fB\\-\\-json\\fR] \\fICOMMAND\\fR [\\fIARGS\\fR...]
.SH DESCRIPTION
Each command prints plain text for people, or one JSON value with
\\fB\\-\\-json\\fR. The exit status is 0 on success and 2, with a one-line
message, on bad arguments.
.PP
.nf
${help}.fi
.SH SEE ALSO
.BR kestrel (1)
")
