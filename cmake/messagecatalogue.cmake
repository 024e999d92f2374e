# The command-line calculator shows the engine's messages in the user's language
# without Qt: its table is made from the "msg" context of the same translation
# files the desktop program compiles with lrelease, so the two never disagree.

function(_plyforge_xml_text text out)
  foreach(pair "&lt;;<" "&gt;;>" "&quot;;\"" "&apos;;'")
    list(GET pair 0 entity)
    list(GET pair 1 plain)
    string(REPLACE "${entity}" "${plain}" text "${text}")
  endforeach()
  string(REPLACE "&amp;" "&" text "${text}")
  # As a C++ string literal.
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Sets out to the C++ lines "{source, translation}," of the msg context of ts_file;
# an entry whose translation is empty gets the source.
function(_plyforge_ts_entries ts_file out)
  file(READ "${ts_file}" ts)
  set(lines "")
  string(FIND "${ts}" "<name>msg</name>" start)
  if(start EQUAL -1)
    message(FATAL_ERROR "${ts_file}: no msg context")
  endif()
  string(SUBSTRING "${ts}" ${start} -1 ts)
  string(FIND "${ts}" "</context>" end)
  string(SUBSTRING "${ts}" 0 ${end} ts)
  string(REGEX MATCHALL "<message>[^<]*<source>[^<]*</source>[^<]*<translation[^>]*>[^<]*</translation>" messages "${ts}")
  foreach(message IN LISTS messages)
    string(REGEX REPLACE ".*<source>([^<]*)</source>.*" "\\1" source "${message}")
    string(REGEX REPLACE ".*<translation[^>]*>([^<]*)</translation>.*" "\\1" translation "${message}")
    if(translation STREQUAL "")
      set(translation "${source}")
    endif()
    _plyforge_xml_text("${source}" source)
    _plyforge_xml_text("${translation}" translation)
    string(APPEND lines "    {\"${source}\", \"${translation}\"},\n")
  endforeach()
  set(${out} "${lines}" PARENT_SCOPE)
endfunction()

# Writes output (a C++ fragment) from the English and Korean translation files and
# makes CMake run again when either changes.
function(plyforge_message_catalogue output english korean)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${english}" "${korean}")
  _plyforge_ts_entries("${english}" english_lines)
  _plyforge_ts_entries("${korean}" korean_lines)
  set(text "// Made by cmake/messagecatalogue.cmake from res/translations; do not edit.\n")
  string(APPEND text "constexpr CatalogueEntry kEnglish[] = {\n${english_lines}};\n")
  string(APPEND text "constexpr CatalogueEntry kKorean[] = {\n${korean_lines}};\n")
  file(CONFIGURE OUTPUT "${output}" CONTENT "${text}" @ONLY)
endfunction()
