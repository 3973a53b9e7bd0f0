# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a sample field of the model is named in more program files than the places
# that must name it: the model, the menu file's reader and writer, the page's encoder and
# reader, and its property page. Everything else copies, swaps and compares the field
# groups whole. Run with
#   cmake -DSOURCE_DIR=<repo> -P FieldSpread.cmake
set(limit 6)
set(fields "m_appBKImageY;m_clickAudio")
file(GLOB_RECURSE sources
  "${SOURCE_DIR}/base/*.cpp" "${SOURCE_DIR}/base/*.h"
  "${SOURCE_DIR}/model/*.cpp" "${SOURCE_DIR}/model/*.h"
  "${SOURCE_DIR}/persist/*.cpp" "${SOURCE_DIR}/persist/*.h"
  "${SOURCE_DIR}/output/*.cpp" "${SOURCE_DIR}/output/*.h"
  "${SOURCE_DIR}/services/*.cpp" "${SOURCE_DIR}/services/*.h"
  "${SOURCE_DIR}/site/*.cpp" "${SOURCE_DIR}/site/*.h"
  "${SOURCE_DIR}/editor/*.cpp" "${SOURCE_DIR}/editor/*.h")

set(failures "")
foreach(field IN LISTS fields)
  set(naming "")
  foreach(file IN LISTS sources)
    file(STRINGS "${file}" hits REGEX "(^|[^A-Za-z0-9_])${field}([^A-Za-z0-9_]|$)")
    if(hits)
      file(RELATIVE_PATH rel "${SOURCE_DIR}" "${file}")
      list(APPEND naming "${rel}")
    endif()
  endforeach()
  list(LENGTH naming count)
  if(count GREATER limit)
    list(JOIN naming "\n    " listed)
    set(failures "${failures}\n  ${field} is named in ${count} files (at most ${limit}):\n    ${listed}")
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "Fields named outside the places that must name them:${failures}")
endif()
