# Writes a resource list of the artwork pictures that exist in ART_DIR
# (cursors, hot spots, icon, about picture, undo and redo buttons) to QRC, for rcc to embed.
set(names cursor1.png cursor2.png cursor3.png cursor4.png cursor5.png cursors.txt icon.png about.png undo.png redo.png)
set(body "<RCC>\n  <qresource prefix=\"/art\">\n")
foreach(name IN LISTS names)
  if(EXISTS "${ART_DIR}/${name}")
    string(APPEND body "    <file alias=\"${name}\">${ART_DIR}/${name}</file>\n")
  endif()
endforeach()
string(APPEND body "  </qresource>\n</RCC>\n")
# Only a changed list touches the file, so rcc reruns only when needed.
if(EXISTS "${QRC}")
  file(READ "${QRC}" old)
endif()
if(NOT "${old}" STREQUAL "${body}")
  file(WRITE "${QRC}" "${body}")
endif()
