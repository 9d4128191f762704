# Starts the program from the build tree and from a staging prefix filled by
# `cmake --install`, and checks what it prints and its exit codes.
#   -DPROGRAM=<built executable> -DBUILD_DIR=<build tree> -DWORK_DIR=<scratch folder>
#   -DBINDIR=<bin/ under the prefix> -DDATADIR=<companion folder under the prefix>

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/docs/sub)
foreach(name docs/B.psd docs/a.txt docs/~draft.psd docs/sub/c.psd)
  file(WRITE ${WORK_DIR}/${name} "")
endforeach()

# run(<name> <expected exit code> <environment> args...): sets out and err.
function(run name code environment)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${environment} ${ARGN} WORKING_DIRECTORY ${WORK_DIR}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr)
  if(NOT rc STREQUAL code)
    message(FATAL_ERROR "${name}: exit code ${rc}, expected ${code}\n${stdout}${stderr}")
  endif()
  set(out "${stdout}" PARENT_SCOPE)
  set(err "${stderr}" PARENT_SCOPE)
endfunction()

function(expect name actual expected)
  if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "${name}: expected\n${expected}\ngot\n${actual}")
  endif()
endfunction()

set(offscreen QT_QPA_PLATFORM=offscreen)
get_filename_component(build_bin ${PROGRAM} DIRECTORY)
run("build tree" 0 ${offscreen} ${PROGRAM} --print-companion-folder)
expect("build tree companion folder" "${out}" "${build_bin}\n")

set(stage ${WORK_DIR}/stage)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${stage} --component halvorine
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install into ${stage} failed")
endif()
set(installed ${stage}/${BINDIR}/halvorine)
run("installed" 0 ${offscreen} ${installed} --print-companion-folder)
expect("installed companion folder" "${out}" "${stage}/${DATADIR}\n")

# Files as they are, folders scanned as a drop scans them, in the order
# given; a relative path is taken against the current folder; a path that
# does not exist is named on stderr and not listed.
set(samples ${stage}/${DATADIR}/Samples)
run("file list" 0 ${offscreen} ${installed} --print-file-list ${WORK_DIR}/docs/~draft.psd docs
    "${WORK_DIR}/no such.psd" ${samples})
string(FIND "${err}" "halvorine: ${WORK_DIR}/no such.psd: no such file or folder\n" named)
if(named EQUAL -1)
  message(FATAL_ERROR "missing path: not named on stderr\n${err}")
endif()
expect("file list" "${out}" "${WORK_DIR}/docs/~draft.psd
${WORK_DIR}/docs/a.txt
${WORK_DIR}/docs/B.psd
${WORK_DIR}/docs/sub/c.psd
${samples}/Banner.psd
${samples}/Logo.psd
${samples}/Poster.psd
")

# --help and --version answer without a window system: under a platform that
# does not exist, any window would end the program with an error.
run("--help" 0 QT_QPA_PLATFORM=no-such-platform ${installed} --help)
expect("--help on stderr" "${err}" "")
if(NOT out MATCHES "Usage: [^\n]*halvorine \\[options\\] \\[FILE\\|FOLDER\\]\\.\\.\\.\n")
  message(FATAL_ERROR "--help: no usage line\n${out}")
endif()
run("--version" 0 QT_QPA_PLATFORM=no-such-platform ${installed} --version)
if(NOT out MATCHES "^Halvorine [0-9.]+\n$")
  message(FATAL_ERROR "--version: ${out}")
endif()

run("wrong option" 2 QT_QPA_PLATFORM=no-such-platform ${installed} --frobnicate docs)
expect("wrong option on stdout" "${out}" "")
if(NOT err MATCHES "Unknown option 'frobnicate'.*\nUsage: halvorine ")
  message(FATAL_ERROR "wrong option: no usage message on stderr\n${err}")
endif()

# Without any display: one line naming what was looked for, exit status 1.
run("no display" 1 "--unset=DISPLAY;--unset=WAYLAND_DISPLAY;--unset=QT_QPA_PLATFORM" ${installed} docs)
expect("no display on stdout" "${out}" "")
if(NOT err MATCHES "^halvorine: cannot open the window: no display could be reached \\(DISPLAY unset, [^\n]*\\)\n$")
  message(FATAL_ERROR "no display: not one clear line on stderr\n${err}")
endif()
