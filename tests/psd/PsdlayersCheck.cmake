# Runs psdlayers on documents it cannot read and on one it can, and checks
# its exit codes and what it prints.
#   -DPSDLAYERS=<tool> -DWORK_DIR=<scratch folder> -DGOOD_FILE=<a readable document>

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(WRITE ${WORK_DIR}/empty.psd "")
file(WRITE ${WORK_DIR}/notes.psd "These are notes, not a picture.\n")
file(WRITE ${WORK_DIR}/cut.psd "8BPS")

# The document's path as a literal inside a regular expression.
string(REGEX REPLACE "([][+.*()^$?|\\\\{}])" "\\\\\\1" GOOD "${GOOD_FILE}")

function(expect_output name pattern)
  if(NOT out MATCHES "${pattern}")
    message(FATAL_ERROR "${name}: expected output matching\n  ${pattern}\ngot\n${out}")
  endif()
endfunction()

execute_process(COMMAND ${PSDLAYERS} ${WORK_DIR}/empty.psd ${WORK_DIR}/notes.psd ${WORK_DIR}/cut.psd
                        ${WORK_DIR}/missing.psd ${WORK_DIR}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 1)
  message(FATAL_ERROR "unreadable files: exit code ${rc}, expected 1\n${out}${err}")
endif()
expect_output("empty file" "empty.psd\tERROR\tthe file is empty, so it is not a Photoshop document\n")
expect_output("text file" "notes.psd\tERROR\tnot a Photoshop document: the file does not start with the signature '8BPS'\n")
expect_output("cut-off file" "cut.psd\tERROR\ttruncated at byte 4: the version number at byte 4 is cut off\n")
expect_output("missing file" "missing.psd\tERROR\tcannot open the file: No such file or directory\n")
expect_output("folder" "psdlayers_check\tERROR\tthis is a folder, not a document\n")

# A readable document among unreadable ones still fails the run, but is listed.
execute_process(COMMAND ${PSDLAYERS} ${GOOD_FILE} ${WORK_DIR}/cut.psd
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 1)
  message(FATAL_ERROR "mixed files: exit code ${rc}, expected 1\n${out}${err}")
endif()
expect_output("mixed files" "^${GOOD}\t1\t")

execute_process(COMMAND ${PSDLAYERS} ${GOOD_FILE} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "readable file: exit code ${rc}, expected 0\n${out}${err}")
endif()
expect_output("readable file" "^${GOOD}\t1\t[^\n]+\n${GOOD}\t2\t")

# --details: kind, visibility and group path before the name.
execute_process(COMMAND ${PSDLAYERS} --details ${GOOD_FILE} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "--details: exit code ${rc}, expected 0\n${out}${err}")
endif()
expect_output("details" "^${GOOD}\t1\tpixel\tvisible\t\tTop\n${GOOD}\t2\tgroup\tvisible\t\tGroup\n${GOOD}\t3\tpixel\tvisible\tGroup\t")

execute_process(COMMAND ${PSDLAYERS} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 2 OR NOT err MATCHES "usage: psdlayers FILE")
  message(FATAL_ERROR "no arguments: exit code ${rc}, expected 2 and a usage line\n${err}")
endif()
