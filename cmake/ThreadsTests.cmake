# Tests of code that runs threads carry the CTest label "threads". The test
# command builds them a second time with the thread sanitizer
# (-DHALVORINE_TSAN=ON, build/tsan) and runs `ctest -L threads` there. That
# build builds only the target halvorine_threads_tests, which depends on
# every labelled test executable, so it stays cheap.
add_custom_target(halvorine_threads_tests)

# halvorine_threads_test(<target> [<argument>...]): registers the test
# executable <target> with CTest under its own name, labelled "threads".
function(halvorine_threads_test target)
  add_test(NAME ${target} COMMAND ${target} ${ARGN})
  halvorine_join_threads_label(${target} ${target})
endfunction()

# halvorine_join_threads_label(<test> <target>): labels a test that is
# already registered (call it in the folder that registers it) and adds the
# executable it runs to the sanitizer build. A hang fails after five minutes.
function(halvorine_join_threads_label test target)
  set_property(TEST ${test} APPEND PROPERTY LABELS threads)
  set_property(TEST ${test} PROPERTY TIMEOUT 300)
  add_dependencies(halvorine_threads_tests ${target})
endfunction()

# halvorine_mark_window_threads(<test>): the test also runs the threads Qt
# starts for a shown window, or Qt's image code on a worker (label
# "window-threads"). Qt is not built with
# the sanitizer, so races it reports inside Qt's own libraries there are
# suppressed (scripts/tsan.supp) for these tests only; every other test runs
# with nothing suppressed.
function(halvorine_mark_window_threads test)
  set_property(TEST ${test} APPEND PROPERTY LABELS window-threads)
endfunction()
