# Fails when an include points the wrong way between the layers, or when a
# file of one screen folder includes a file of another (screens meet only
# through the window's verbs). Run at every build before the layers compile
# (STAMP is touched when all is well) and as a test.
#   cmake -DROOT=<source folder> [-DSTAMP=<file>] -P screen_includes.cmake

cmake_minimum_required(VERSION 3.25)

# What each layer may not include. store/, history/ and logic/ know nothing of
# widgets; online/ knows nothing of ours at all.
set(refused_store history logic online window screens app tests)
set(refused_history logic online window screens app tests)
set(refused_logic online window screens app tests)
set(refused_online store history logic window screens app tests)
set(refused_window logic online screens app tests)
set(refused_screens app tests)
set(refused_app tests)

set(faults "")
foreach(layer store history logic online window screens app)
  file(GLOB_RECURSE sources ${ROOT}/${layer}/*.h ${ROOT}/${layer}/*.cpp)
  foreach(src ${sources})
    file(RELATIVE_PATH rel ${ROOT} ${src})
    file(STRINGS ${src} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][a-z_]+/")
    # The screen folder this file belongs to, if any (the files directly in
    # screens/ put the screens together).
    set(own "")
    if(rel MATCHES "^screens/([^/]+)/")
      set(own ${CMAKE_MATCH_1})
    endif()
    foreach(line ${includes})
      string(REGEX MATCH "[\"<]([a-z_]+)/([^\">]*)" _ "${line}")
      set(target ${CMAKE_MATCH_1})
      set(rest ${CMAKE_MATCH_2})
      if(target IN_LIST refused_${layer})
        string(APPEND faults "\n  ${rel}: the ${layer}/ layer may not include ${target}/: ${line}")
      elseif(own AND target STREQUAL "screens"
             AND rest MATCHES "^([^/]+)/" AND NOT CMAKE_MATCH_1 STREQUAL own)
        string(APPEND faults
          "\n  ${rel}: the screen ${own}/ may not include another screen's file: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(faults)
  message(FATAL_ERROR "An include points the wrong way:${faults}")
endif()
if(STAMP)
  file(TOUCH ${STAMP})
endif()
