orvo_add_test(NAME tst_grid_painting SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_grid_painting.cpp
    LIBS OrvoGrid OrvoPlatformSqlite)
target_compile_definitions(tst_grid_painting PRIVATE
    ORVO_PAINTING_REFERENCE_DIR="${CMAKE_CURRENT_LIST_DIR}/reference"
    ORVO_SCREENSHOT_DIR="${PROJECT_SOURCE_DIR}/docs/screenshots")
