# The lists and editors that drop down under a cell or an editor, one sub-folder a concern.
set(ORVO_AREA_SUBFOLDERS
    popup
    calendar
    calculator
    filter
    editor
)
