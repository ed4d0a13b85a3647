set(ORVO_AREA_HEADERS
    gradientfill.h
    systemprobes.h
    torvogradient.h
    torvogradientbackground.h
    torvogradientbutton.h
    torvogradientenums.h
)
set(ORVO_AREA_SOURCES
    gradientfill.cpp
    systemprobes.cpp
    torvogradient.cpp
    torvogradientbackground.cpp
    torvogradientbutton.cpp
)
include(${CMAKE_CURRENT_LIST_DIR}/themed.cmake OPTIONAL)
