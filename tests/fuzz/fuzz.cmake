# Builds the fuzz targets (tests/fuzz/CMakeLists.txt) with clang when clang++ and its
# libFuzzer runtime are there, and runs each briefly as a test. Without them the
# fuzz tests are simply not part of the suite.
option(ORVO_BUILD_FUZZ "Build and run the fuzz targets when clang and libFuzzer are present" ON)

set(ORVO_FUZZ_TARGETS fuzz_filter fuzz_inifile fuzz_formreader fuzz_format fuzz_parse fuzz_filtertexts
    fuzz_gridsettings)

function(orvo_fuzzer_available out clang)
    set(probeDir ${CMAKE_CURRENT_BINARY_DIR}/fuzz-probe)
    file(WRITE ${probeDir}/probe.cpp
         "#include <cstddef>\n#include <cstdint>\n"
         "extern \"C\" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n")
    execute_process(COMMAND ${clang} -fsanitize=fuzzer,address,undefined ${probeDir}/probe.cpp -o ${probeDir}/probe
                    RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
    if(result EQUAL 0)
        set(${out} TRUE PARENT_SCOPE)
    else()
        set(${out} FALSE PARENT_SCOPE)
    endif()
endfunction()

if(ORVO_BUILD_FUZZ)
    find_program(ORVO_CLANGXX NAMES clang++ clang++-14)
    set(fuzzerFound FALSE)
    if(ORVO_CLANGXX)
        orvo_fuzzer_available(fuzzerFound ${ORVO_CLANGXX})
    endif()
    if(NOT fuzzerFound)
        message(STATUS "Fuzz targets not built: clang++ with libFuzzer was not found")
    else()
        include(ExternalProject)
        set(fuzzBinary ${CMAKE_CURRENT_BINARY_DIR}/fuzz-build)
        set(fuzzArgs -DCMAKE_CXX_COMPILER=${ORVO_CLANGXX} -DCMAKE_BUILD_TYPE=RelWithDebInfo
                     -DORVO_SOURCE_DIR=${PROJECT_SOURCE_DIR} -DCMAKE_PREFIX_PATH=${CMAKE_PREFIX_PATH})
        if(CMAKE_CXX_COMPILER_LAUNCHER)
            list(APPEND fuzzArgs -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER})
        endif()
        # Always built, so that a change to Orvo's sources reaches the targets; the
        # sub-build itself decides what is out of date.
        ExternalProject_Add(OrvoFuzzTargets
            SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}
            BINARY_DIR ${fuzzBinary}
            CMAKE_GENERATOR ${CMAKE_GENERATOR}
            CMAKE_ARGS ${fuzzArgs}
            BUILD_ALWAYS ON
            INSTALL_COMMAND ""
            USES_TERMINAL_BUILD ON)
        foreach(target IN LISTS ORVO_FUZZ_TARGETS)
            # A folder in the build for what the runs find, then the seeds kept in the sources.
            set(found ${CMAKE_CURRENT_BINARY_DIR}/fuzz-corpus/${target})
            file(MAKE_DIRECTORY ${found})
            set(seeds ${CMAKE_CURRENT_LIST_DIR}/corpus/${target})
            set(runArgs -max_total_time=10 -timeout=10 -rss_limit_mb=2048 -seed=1 ${found} ${seeds})
            add_test(NAME ${target} COMMAND ${fuzzBinary}/${target} ${runArgs})
            set_tests_properties(${target} PROPERTIES LABELS fuzz TIMEOUT 120
                ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
        endforeach()
    endif()
endif()
