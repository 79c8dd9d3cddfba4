# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DCMARK=<cmark-gfm> -DINPUT=<guide.md> -DOUTPUT=<guide.html> -P guide_html.cmake
# The user guide as a web page that Windows opens from the Start menu; its screenshots stay in
# screenshots/ beside it, as beside the Markdown text.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${CMARK} --extension table --extension autolink ${INPUT}
                OUTPUT_VARIABLE body RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${CMARK} ${INPUT} failed")
endif()
file(WRITE ${OUTPUT} "<!DOCTYPE html>
<html lang=\"ru\">
<head>
<meta charset=\"utf-8\">
<title>Программатор Ялмера: руководство пользователя</title>
<style>
body { font-family: 'Segoe UI', sans-serif; max-width: 52em; margin: 2em auto; padding: 0 1em; line-height: 1.45; }
code, pre { font-family: Consolas, monospace; background: #f3f3f3; }
pre { padding: 0.5em 1em; overflow: auto; }
table { border-collapse: collapse; }
td, th { border: 1px solid #bbb; padding: 0.2em 0.6em; }
img { max-width: 100%; }
</style>
</head>
<body>
${body}</body>
</html>
")
