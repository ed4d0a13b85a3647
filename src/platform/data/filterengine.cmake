list(APPEND ORVO_AREA_HEADERS
    tfilterexpression.h
    tfilterlexer.h
    tfilternode.h
    tfilterparser.h
)
list(APPEND ORVO_AREA_SOURCES
    tfilterexpression.cpp
    tfilterlexer.cpp
    tfilternode.cpp
    tfilterparser.cpp
)
