# The layers' include graph, checked on every build:
#   cmake -DSOURCE_DIR=<source folder> -P cmake/layer_check.cmake
# Each folder of the product may include its own headers and those of the
# folders listed for it; only the folders listed in toolkit_users may
# include the toolkit's, the sound library's and libjpeg's headers. A file
# that includes across the graph stops the build, with its name.
cmake_minimum_required(VERSION 3.25)
set(below_calc text files input)
set(engine text files input calc)
set(allowed_text text)
set(allowed_files text files)
set(allowed_input text files input)
set(allowed_calc ${below_calc} calc)
set(allowed_places ${engine} places)
# The printed formats hand their year to the printing back end in the
# plain record print/printed_year.h, its one header outside print/.
set(allowed_documents ${engine} documents print/printed_year.h)
set(allowed_print ${engine} places documents print)
set(allowed_window text files window)
set(allowed_ui ${engine} places documents window ui)
set(allowed_table ${engine} places documents table)
# The service runs the batch tool's own option checks, place choice and
# rendering, so that both refuse and make the same of the same inputs.
set(allowed_serve ${engine} places documents table serve)
set(toolkit_users print window)
set(toolkit_headers "^(Q[A-Za-z]*|Qt[A-Za-z]*/.*|AL/.*|jpeglib\\.h|jerror\\.h)$")

set(findings)
foreach(folder text files input calc places documents print window ui table serve)
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
  foreach(source ${sources})
    file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*([<\"])([^>\"]*)[>\"].*$" "\\1;\\2" parts "${line}")
      list(GET parts 0 quote)
      list(GET parts 1 header)
      if(quote STREQUAL "<")
        if(header MATCHES "${toolkit_headers}" AND NOT folder IN_LIST toolkit_users)
          list(JOIN toolkit_users " and " users)
          list(APPEND findings "${source} includes <${header}>: only ${users} use the toolkit")
        endif()
        continue()
      endif()
      string(REGEX MATCH "^[^/]*" layer "${header}")
      if(NOT header MATCHES "/")
        list(APPEND findings "${source} includes \"${header}\": name its folder, as in \"${folder}/${header}\"")
      elseif(NOT layer IN_LIST allowed_${folder} AND NOT header IN_LIST allowed_${folder})
        list(JOIN allowed_${folder} " " may)
        list(APPEND findings "${source} includes ${header}, across the layers: ${folder}/ may include ${may}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(findings)
  list(JOIN findings "\n  " text)
  message(FATAL_ERROR "Includes across the layers (cmake/layer_check.cmake):\n  ${text}")
endif()
