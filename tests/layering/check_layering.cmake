# Checks the folder order of the program's sources (run as cmake -P, so it needs nothing else):
#   - a folder includes only its own headers and those of folders below it; folders on one
#     layer are peers and never include each other;
#   - the GUI-free part of a folder (everything outside ui/) includes no window header: none
#     of any folder's ui/, and no Qt GUI or widgets header.
#
# -DSRC=<src folder>  -DLAYERS="util|core|sim,comm|..." (lowest first, peers by comma)
# -DGUI_DIRS="<QtGui include dir>|<QtWidgets include dir>" (optional: headers found there are
#  window headers; a fixed list of the common ones is always checked)
cmake_minimum_required(VERSION 3.25)

if(NOT SRC OR NOT LAYERS)
  message(FATAL_ERROR "usage: cmake -DSRC=... -DLAYERS=... -P check_layering.cmake")
endif()

get_filename_component(SRC "${SRC}" ABSOLUTE)
string(REPLACE "|" ";" GUI_DIRS "${GUI_DIRS}")

# The layer of every folder.
string(REPLACE "|" ";" _layers "${LAYERS}")
set(_level 0)
set(_folders "")
foreach(_layer IN LISTS _layers)
  string(REPLACE "," ";" _peers "${_layer}")
  foreach(_f IN LISTS _peers)
    set(LEVEL_${_f} ${_level})
    list(APPEND _folders ${_f})
  endforeach()
  math(EXPR _level "${_level} + 1")
endforeach()
list(JOIN _folders "|" _folder_alt)

# Window headers: Qt's GUI and widgets modules.
set(_gui_names QWidget QColor QPainter QImage QFont QFontMetrics QPixmap QIcon QPalette QPen
    QBrush QScreen QGuiApplication QApplication QAction QClipboard QCursor QKeyEvent
    QMouseEvent QPaintEvent QTransform QPolygon QRegion QMainWindow QDialog QMessageBox QLabel)

set(_errors "")
file(GLOB_RECURSE _files RELATIVE "${SRC}" "${SRC}/*.h" "${SRC}/*.cpp")
foreach(_rel IN LISTS _files)
  string(REGEX MATCH "^([^/]+)/" _m "${_rel}")
  set(_own "${CMAKE_MATCH_1}")
  if(NOT DEFINED LEVEL_${_own})
    continue()
  endif()
  # The program's main() sits beside the app folder's logic but is no part of it.
  set(_logic TRUE)
  if(_rel MATCHES "^[^/]+/ui/" OR _rel MATCHES "^[^/]+/main\\.cpp$")
    set(_logic FALSE)
  endif()
  file(STRINGS "${SRC}/${_rel}" _incs REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(_line IN LISTS _incs)
    if(_line MATCHES "#[ \t]*include[ \t]*\"((${_folder_alt})/[^\"]*)\"")
      set(_target "${CMAKE_MATCH_1}")
      set(_other "${CMAKE_MATCH_2}")
      if(LEVEL_${_other} GREATER LEVEL_${_own})
        list(APPEND _errors "${_rel}: includes \"${_target}\" from a higher layer")
      elseif(LEVEL_${_other} EQUAL LEVEL_${_own} AND NOT _other STREQUAL _own)
        list(APPEND _errors "${_rel}: includes \"${_target}\" of a peer folder")
      elseif(_logic AND _target MATCHES "^[^/]+/ui/")
        list(APPEND _errors "${_rel}: GUI-free code includes the window header \"${_target}\"")
      endif()
    elseif(_logic AND _line MATCHES "#[ \t]*include[ \t]*<([^>]+)>")
      set(_h "${CMAKE_MATCH_1}")
      set(_gui FALSE)
      if(_h MATCHES "^Qt(Gui|Widgets|OpenGL|PrintSupport)/")
        set(_gui TRUE)
      elseif(_h MATCHES "^Q[A-Za-z]+$")
        if(_h IN_LIST _gui_names)
          set(_gui TRUE)
        endif()
        foreach(_d IN LISTS GUI_DIRS)
          if(EXISTS "${_d}/${_h}")
            set(_gui TRUE)
          endif()
        endforeach()
      endif()
      if(_gui)
        list(APPEND _errors "${_rel}: GUI-free code includes the window header <${_h}>")
      endif()
    endif()
  endforeach()
endforeach()

if(_errors)
  list(JOIN _errors "\n  " _text)
  message(FATAL_ERROR "Folder order broken:\n  ${_text}")
endif()
list(LENGTH _files _n)
message(STATUS "Folder order kept in ${_n} files")
