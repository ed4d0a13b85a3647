list(APPEND ORVO_AREA_HEADERS
    controlpainting.h
    torvobutton.h
    torvocheckbox.h
    torvocontrolenums.h
    torvogroupbox.h
    torvogroupcheckbox.h
    torvolabel.h
    torvopanel.h
    torvoradiobutton.h
    torvoupdown.h
)
list(APPEND ORVO_AREA_SOURCES
    controlpainting.cpp
    torvobutton.cpp
    torvocheckbox.cpp
    torvogroupbox.cpp
    torvogroupcheckbox.cpp
    torvolabel.cpp
    torvopanel.cpp
    torvoradiobutton.cpp
    torvoupdown.cpp
)
