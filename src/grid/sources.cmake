# The data grid, one sub-folder a concern. Each sub-folder lists its own files.
set(ORVO_AREA_SUBFOLDERS
    dbgrid
    columns
    totals
    painting
    filter
    search
    selection
    treeview
    settings
    scrolling
    input
    order
)
