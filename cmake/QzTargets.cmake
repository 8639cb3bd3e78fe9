# Helpers shared by every folder of the program.

# The folders in layer order, lowest first; folders of one layer (separated by commas) are
# peers. A folder may include its own headers and those of lower layers only, never a peer's
# or a higher one's; the GUI-free part of a folder includes no window header. The source tree
# is built in this order and the test "QzSim.layering" checks every include against it.
set(QZ_LAYERS "util|core|sim,comm|tuner,charts|display,results,setupdlg|app")

# What the test "QzSim.layering" still tolerates while the tool windows move out of the frame
# window and the last include loops are broken. Both lists only ever shrink: an entry that no
# longer applies fails the test too, so each goes with the change that ends it.
# Include loops, each as its files (without extension, sorted) joined by "+".
set(QZ_ALLOWED_INCLUDE_LOOPS)
# Window headers the frame window (app/ui/form1.h, .cpp) includes, as "file:header".
set(QZ_ALLOWED_FORM1_INCLUDES)

# The project's own code is compiled with the common warnings; with QZ_WERROR (as continuous
# integration builds) they are errors.
function(qz_warnings target)
  if(QZ_WERROR)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra)
  endif()
endfunction()

# The sources of the calling folder: its own .cpp/.h files (the GUI-free logic, main.cpp left
# out) and those of its ui/ subfolder (the windows).
function(qz_folder_sources out_logic out_ui)
  file(GLOB _all CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  file(GLOB _ui CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.h)
  list(FILTER _all EXCLUDE REGEX "/main\\.cpp$")
  set(${out_logic} ${_all} PARENT_SCOPE)
  set(${out_ui} ${_ui} PARENT_SCOPE)
endfunction()

# qz_logic_library(<folder> DEPS <libs...>): GUI-free library qz_<folder> (Qt Core at most).
function(qz_logic_library folder)
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  qz_folder_sources(_logic _ui)
  add_library(qz_${folder} STATIC ${_logic})
  target_include_directories(qz_${folder} PUBLIC ${PROJECT_SOURCE_DIR}/src
                             ${CMAKE_BINARY_DIR}/generated)
  target_link_libraries(qz_${folder} PUBLIC Qt6::Core ${A_DEPS})
  qz_warnings(qz_${folder})
endfunction()

# qz_ui_library(<folder> DEPS <libs...>): windows of the folder, from its ui/ subfolder.
function(qz_ui_library folder)
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  qz_folder_sources(_logic _ui)
  add_library(qz_${folder}_ui STATIC ${_ui})
  target_include_directories(qz_${folder}_ui PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(qz_${folder}_ui PUBLIC qz_${folder} Qt6::Widgets Qt6::Gui ${A_DEPS})
  qz_warnings(qz_${folder}_ui)
endfunction()
