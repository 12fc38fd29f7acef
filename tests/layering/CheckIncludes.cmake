# Fails when an include in src/ runs up a layer, or when the core includes Qt.
#   cmake -DSRC=<repo>/src -P CheckIncludes.cmake
# A file's unit is its folder under src/ (the editor's rooms count as units of their own, the files
# at the top of src/editor as the unit "editor"). A unit may include itself and the units listed for
# it below; everything else is an upward (or sideways) edge.
cmake_minimum_required(VERSION 3.25)

if(NOT SRC)
  message(FATAL_ERROR "pass -DSRC=<the src folder>")
endif()

set(core support platform regexp highlighter)
set(rooms_chars ${core})
set(rooms_text ${rooms_chars} editor/chars)
set(rooms_settings ${rooms_text} editor/text)
set(rooms_model ${rooms_settings} editor/settings)
set(rooms_caret ${rooms_model} editor/model)
set(rooms_view ${rooms_caret} editor/caret)
set(rooms_edit ${rooms_view} editor/view)
set(rooms_search ${rooms_edit} editor/edit)
set(rooms_editor ${rooms_search} editor/search)

set(allowed_support "")
set(allowed_platform support)
set(allowed_regexp support)
set(allowed_highlighter support platform regexp)
set(allowed_editor/chars ${rooms_chars})
set(allowed_editor/text ${rooms_text})
set(allowed_editor/settings ${rooms_settings})
set(allowed_editor/model ${rooms_model})
set(allowed_editor/caret ${rooms_caret})
set(allowed_editor/view ${rooms_view})
set(allowed_editor/edit ${rooms_edit})
set(allowed_editor/search ${rooms_search})
set(allowed_editor ${rooms_editor})
set(allowed_app ${rooms_editor} editor)
set(allowed_shell ${allowed_app} app)
set(allowed_qt ${allowed_shell} shell)
set(qt_units shell qt)

# Edges that still run up while the facade is being thinned: "file|included header". Each entry must
# still be needed, so the list can only shrink.
set(known_exceptions
  "editor/caret/EditorCaretMove.cpp|editor/Editor.h"
  "editor/caret/EditorCaretMove.cpp|editor/view/EditorScroll.h"
  "editor/edit/EditorMouse.cpp|editor/Editor.h"
  "editor/edit/EditorMouse.cpp|editor/EditorContextMenu.h"
  "editor/edit/EditorMouse.cpp|editor/EditorMessages.h"
)

function(unit_of path out)
  string(REGEX MATCH "^editor/(chars|text|settings|model|caret|view|edit|search)/" room "${path}")
  if(room)
    string(REGEX REPLACE "/$" "" room "${room}")
    set(${out} "${room}" PARENT_SCOPE)
  else()
    string(REGEX MATCH "^[^/]+" top "${path}")
    set(${out} "${top}" PARENT_SCOPE)
  endif()
endfunction()

file(GLOB_RECURSE files RELATIVE "${SRC}" "${SRC}/*.h" "${SRC}/*.cpp")
set(failures)
set(used_exceptions)
foreach(file IN LISTS files)
  unit_of("${file}" unit)
  if(NOT DEFINED allowed_${unit})
    list(APPEND failures "${file}: its folder has no place in the layers")
    continue()
  endif()
  file(STRINGS "${SRC}/${file}" lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS lines)
    if(line MATCHES "<(Q[A-Za-z]*)[/>]" AND NOT unit IN_LIST qt_units)
      list(APPEND failures "${file}: the core includes Qt (${CMAKE_MATCH_1})")
      continue()
    endif()
    if(NOT line MATCHES "\"([^\"]+)\"")
      continue()
    endif()
    set(header "${CMAKE_MATCH_1}")
    if(NOT EXISTS "${SRC}/${header}")
      continue()  # a header beside a test or a generated one: not part of the layers
    endif()
    unit_of("${header}" target)
    if(target STREQUAL unit OR target IN_LIST allowed_${unit})
      continue()
    endif()
    if("${file}|${header}" IN_LIST known_exceptions)
      list(APPEND used_exceptions "${file}|${header}")
      continue()
    endif()
    list(APPEND failures "${file}: includes ${header}, a ${target} header, from ${unit}")
  endforeach()
endforeach()

foreach(exception IN LISTS known_exceptions)
  if(NOT exception IN_LIST used_exceptions)
    list(APPEND failures "${exception}: no longer needed, take it off the list of exceptions")
  endif()
endforeach()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "Includes that break the layers:\n  ${text}")
endif()
list(LENGTH files count)
list(LENGTH used_exceptions left)
message(STATUS "${count} files keep the layers (${left} known exceptions left)")
