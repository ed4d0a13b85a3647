# What keeps Orvo's own build fast: a compiler cache, a faster linker and precompiled
# headers. None of it reaches the exported targets a user's project links, and each
# part is left out when its tool is missing, so a bare machine still builds.

option(ORVO_USE_CCACHE "Compile through ccache when it is installed" ${PROJECT_IS_TOP_LEVEL})
option(ORVO_USE_LLD "Link with lld when the compiler can use it" ${PROJECT_IS_TOP_LEVEL})
option(ORVO_USE_PCH "Precompile the Qt and standard headers most sources include" ON)

# ccache caches compilations that use a precompiled header only with these
# sloppiness settings. They are set in a launcher script of the build's own, so
# that neither the user's ccache configuration nor the shell has to change. A
# launcher that is plain ccache (as given on the command line) gets the same wrapper.
function(orvo_use_ccache)
    set(launcher "${CMAKE_CXX_COMPILER_LAUNCHER}")
    if(launcher AND NOT launcher MATCHES "(^|/)ccache$")
        return()
    endif()
    if(launcher)
        find_program(ORVO_CCACHE NAMES ${launcher})
    else()
        find_program(ORVO_CCACHE NAMES ccache)
    endif()
    if(NOT ORVO_CCACHE)
        return()
    endif()
    set(wrapper ${PROJECT_BINARY_DIR}/orvo-ccache)
    file(CONFIGURE OUTPUT ${wrapper} @ONLY CONTENT [[
#!/bin/sh
CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:+$CCACHE_SLOPPINESS,}pch_defines,time_macros,include_file_mtime,include_file_ctime
export CCACHE_SLOPPINESS
exec "@ORVO_CCACHE@" "$@"
]])
    file(CHMOD ${wrapper} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
         WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CXX_COMPILER_LAUNCHER ${wrapper} PARENT_SCOPE)
endfunction()

if(ORVO_USE_CCACHE)
    orvo_use_ccache()
endif()

# The GNU linker spends seconds on each test program's debug information; lld does
# the same work in a fraction of the time.
if(ORVO_USE_LLD)
    include(CheckLinkerFlag)
    check_linker_flag(CXX -fuse-ld=lld ORVO_HAVE_LLD)
    if(ORVO_HAVE_LLD)
        add_link_options(-fuse-ld=lld)
    endif()
endif()

# The Qt and standard headers that most of the libraries' sources include. Parsing
# them is most of the time a source takes to compile; Orvo's own headers stay out, so
# that touching one does not rebuild everything.
set(ORVO_LIBRARY_PCH_HEADERS
    <QApplication> <QByteArray> <QFontMetrics> <QImage> <QList> <QMenu> <QObject>
    <QPainter> <QPointer> <QRegularExpression> <QScopeGuard> <QScrollBar> <QString>
    <QStringList> <QTimer> <QWidget>
    <algorithm> <cmath> <functional> <memory> <optional> <vector>)

# The tests also include QtTest, which pulls in all of QtCore. QtTest itself stays
# out: it defines its test case's folders per target, and a precompiled header
# is used only where every such definition matches.
set(ORVO_TEST_PCH_HEADERS ${ORVO_LIBRARY_PCH_HEADERS} <QtCore/QtCore>)

# Gives <target> the precompiled header of <kind> (LIBRARY or TEST). The first target
# of a kind compiles it, the others reuse it: their compile flags are the same,
# which -Winvalid-pch checks (a header that cannot be used is parsed as text, slower
# but still right).
function(orvo_precompile_headers target kind)
    if(NOT ORVO_USE_PCH)
        return()
    endif()
    target_compile_options(${target} PRIVATE -Winvalid-pch)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        # Without a timestamp inside, clang's precompiled header can be cached by ccache.
        target_compile_options(${target} PRIVATE "SHELL:-Xclang -fno-pch-timestamp")
    endif()
    get_property(owner GLOBAL PROPERTY ORVO_PCH_OWNER_${kind})
    if(owner)
        target_precompile_headers(${target} REUSE_FROM ${owner})
    else()
        target_precompile_headers(${target} PRIVATE ${ORVO_${kind}_PCH_HEADERS})
        set_property(GLOBAL PROPERTY ORVO_PCH_OWNER_${kind} ${target})
    endif()
endfunction()
