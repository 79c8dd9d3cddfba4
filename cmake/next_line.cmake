# yalmera_next_line(TEXT LINE): takes the first line of the text in variable TEXT (without its
# "\n") into variable LINE and leaves the rest in TEXT. Line by line without CMake lists, which
# would split at ";" and group at "[". For the scripts run with cmake -P.
macro(yalmera_next_line text_var line_var)
  string(FIND "${${text_var}}" "\n" _yalmera_end)
  if(_yalmera_end EQUAL -1)
    set(${line_var} "${${text_var}}")
    set(${text_var} "")
  else()
    string(SUBSTRING "${${text_var}}" 0 ${_yalmera_end} ${line_var})
    math(EXPR _yalmera_end "${_yalmera_end} + 1")
    string(SUBSTRING "${${text_var}}" ${_yalmera_end} -1 ${text_var})
  endif()
endmacro()
